#include "model/window.h"

#include <gtest/gtest.h>

#include <set>

#include "support/fixtures.h"

namespace logfsm {
namespace {

using testing::events;

TEST(ModelWindowTest, OrderByNamesElementByElementPrefixFirst) {
  const window_less less;
  EXPECT_TRUE(less(events({"a", "b"}), events({"a", "c"})));
  EXPECT_TRUE(less(events({"a", "z"}), events({"b", "a"})));
  EXPECT_TRUE(less(events({"a"}), events({"a", "a"})));
  EXPECT_TRUE(less(events({}), events({""})));
  EXPECT_TRUE(less(events({"", "z"}), events({"a"})));
  EXPECT_TRUE(less(events({"B", "x"}), events({"a", "x"})));
  EXPECT_TRUE(less(events({"x", "z"}), events({"x", "\x80"})));
  EXPECT_FALSE(less(events({"a", "b"}), events({"a", "b"})));
  EXPECT_FALSE(less(events({"a", "a"}), events({"a"})));
}

TEST(ModelWindowTest, SameNamesAreOneElementTheFirstObjectsStay) {
  const window first = events({"a", "b", "c"});
  std::set<window, window_less> windows = {first};
  EXPECT_FALSE(windows.insert(events({"a", "b", "c"})).second);
  EXPECT_TRUE(windows.insert(events({"a", "b"})).second);
  EXPECT_TRUE(windows.insert(events({"a", "b", "c", "d"})).second);
  EXPECT_EQ(windows.size(), 3u);
  const window& kept = *windows.find(events({"a", "b", "c"}));
  for (std::size_t i = 0; i < kept.size(); ++i) EXPECT_EQ(kept[i], first[i]);
}

TEST(ModelWindowTest, PairsOrderByFirstNameThenSecond) {
  const event_pair_less less;
  const auto pair = [](const char* a, const char* b) {
    return event_pair(make_event(a), make_event(b));
  };
  EXPECT_TRUE(less(pair("a", "z"), pair("b", "a")));
  EXPECT_TRUE(less(pair("a", "b"), pair("a", "c")));
  EXPECT_TRUE(less(pair("B", "b"), pair("a", "a")));
  EXPECT_TRUE(less(pair("", "\xff"), pair("a", "")));
  EXPECT_TRUE(less(pair("a", "z"), pair("a", "\x80")));
  EXPECT_FALSE(less(pair("a", "b"), pair("a", "b")));

  const event_pair first = pair("a", "b");
  std::set<event_pair, event_pair_less> pairs = {first};
  EXPECT_FALSE(pairs.insert(pair("a", "b")).second);
  EXPECT_TRUE(pairs.insert(pair("b", "a")).second);
  EXPECT_EQ(pairs.begin()->first, first.first);
  EXPECT_EQ(pairs.begin()->second, first.second);
}

}  // namespace
}  // namespace logfsm
