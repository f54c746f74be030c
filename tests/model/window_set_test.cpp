#include "model/window_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "support/fixtures.h"
#include "support/log_generator.h"

namespace logfsm {
namespace {

using testing::events;

TEST(WindowSet, HoldsWindowsOfAnyLengthOnce) {
  window_set set;
  const window abc = events({"a", "b", "c"});
  EXPECT_TRUE(set.insert(abc));
  EXPECT_FALSE(set.insert(events({"a", "b", "c"})));
  EXPECT_TRUE(set.insert(events({"a", "b"})));
  EXPECT_EQ(set.size(), 2u);
  EXPECT_TRUE(set.contains(events({"a", "b"})));
  EXPECT_TRUE(set.contains(window_view{abc[0].get(), abc[1].get(), abc[2].get()}));
  EXPECT_FALSE(set.contains(events({"a"})));
  EXPECT_FALSE(set.contains(events({"a", "b", "c", "d"})));
  EXPECT_FALSE(set.contains(window()));
}

TEST(WindowSet, FollowsPrefixesAndReportsWhereNoWindowGoesOn) {
  window_set set;
  set.insert(events({"x", "\xff", "y"}));
  set.insert(events({"x", "a"}));
  const window_set::position x = set.follow(events({"x"}));
  ASSERT_NE(x, window_set::kNone);
  EXPECT_FALSE(set.ends_window(x));
  EXPECT_NE(set.next(x, *events({"\xff"})[0]), window_set::kNone);
  EXPECT_TRUE(set.ends_window(set.next(x, *events({"a"})[0])));
  EXPECT_EQ(set.next(x, *events({"b"})[0]), window_set::kNone);
  EXPECT_EQ(set.next(window_set::kNone, *events({"x"})[0]), window_set::kNone);
  EXPECT_FALSE(set.ends_window(window_set::kNone));
}

// Against a plain ordered set of windows: membership and "some window begins
// with this prefix", on random windows over a small alphabet.
TEST(WindowSet, AgreesWithAPlainSetOnRandomWindows) {
  testing::seeded_sequence rng(11);
  const window alphabet = events({"", "a", "ab", "b", "\x80"});
  const auto random_window = [&] {
    window w;
    for (std::uint32_t n = rng.below(5); n > 0; --n) w.push_back(alphabet[rng.below(5)]);
    return w;
  };
  const auto names_of = [](const window& w) {
    std::vector<std::string> names;
    for (const event_ptr& e : w) names.push_back(e->name);
    return names;
  };
  window_set set;
  std::set<std::vector<std::string>> plain;
  for (int i = 0; i < 200; ++i) {
    const window w = random_window();
    EXPECT_EQ(set.insert(w), plain.insert(names_of(w)).second);
  }
  EXPECT_EQ(set.size(), plain.size());
  for (int i = 0; i < 500; ++i) {
    const std::vector<std::string> probe = names_of(random_window());
    window probe_events;
    for (const std::string& name : probe) probe_events.push_back(make_event(name));
    ASSERT_EQ(set.contains(probe_events), plain.contains(probe));
    bool begins = false;
    for (const std::vector<std::string>& w : plain) {
      begins = begins || (w.size() >= probe.size() &&
                          std::equal(probe.begin(), probe.end(), w.begin()));
    }
    ASSERT_EQ(set.follow(probe_events) != window_set::kNone, begins);
  }
}

}  // namespace
}  // namespace logfsm
