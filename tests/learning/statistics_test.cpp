#include "learning/statistics.h"

#include <gtest/gtest.h>

#include <set>

#include "support/fixtures.h"
#include "support/log_generator.h"

namespace logfsm {
namespace {

std::string pairs_of(const std::string& log) {
  fsm_builder builder = testing::builder_from_log(log, 2);
  for (const trace& t : builder.traces) collect_pairs(builder, t);
  std::string result;
  for (const auto& [a, b] : builder.successor_pairs) result += a->name + b->name + " ";
  return result;
}

// Whether the windows observed in `log` are exactly `expected`, each window
// written as its one-letter event names.
::testing::AssertionResult windows_are(const std::string& log, std::int32_t k,
                                       const std::set<std::string>& expected) {
  fsm_builder builder = testing::builder_from_log(log, k);
  for (const trace& t : builder.traces) collect_windows(builder, t);
  for (const std::string& names : expected) {
    window w;
    for (const char c : names) w.push_back(make_event(std::string(1, c)));
    if (!builder.observed_windows.contains(w))
      return ::testing::AssertionFailure() << "no " << names;
  }
  if (builder.observed_windows.size() != expected.size()) {
    return ::testing::AssertionFailure() << builder.observed_windows.size() << " windows";
  }
  return ::testing::AssertionSuccess();
}

TEST(CollectPairs, RecordsNeighboursOfDifferentNamesOnceInNameOrder) {
  EXPECT_EQ(pairs_of("a;a;b;\n"), "ab ");
  EXPECT_EQ(pairs_of("a;b;a;b;\n"), "ab ba ");
  EXPECT_EQ(pairs_of("a;a;a;\nb;\n\n"), "");
  EXPECT_EQ(pairs_of("c;d;\na;b;\n"), "ab cd ");
}

TEST(CollectPairs, KeepsTheEventObjectsOfTheFirstOccurrence) {
  fsm_builder builder = testing::builder_from_log("a;b;\na;b;\n", 2);
  for (const trace& t : builder.traces) collect_pairs(builder, t);
  ASSERT_EQ(builder.successor_pairs.size(), 1u);
  EXPECT_EQ(builder.successor_pairs.begin()->first, builder.traces[0][0]);
}

TEST(CollectWindows, CollapsesRunsAndCutsToK) {
  EXPECT_TRUE(windows_are("a;a;b;c;\n", 2, {"ab", "bc"}));
  EXPECT_TRUE(windows_are("a;b;c;c;\n", 3, {"abc", "bc"}));
  EXPECT_TRUE(windows_are("a;b;b;c;d;\n", 3, {"abc", "bcd"}));
  EXPECT_TRUE(windows_are("a;a;a;\n", 2, {"a"}));
  EXPECT_TRUE(windows_are("a;b;a;b;\n", 2, {"ab", "ba"}));
}

TEST(CollectWindows, TracesShorterThanKAddNothing) {
  EXPECT_TRUE(windows_are("a;b;\n\n", 3, {}));
  EXPECT_TRUE(windows_are("a;b;c;\n", 3, {"abc"}));
}

// The window at every position, repetitions collapsed, by a scan from each
// position: what collect_windows must insert, in linear time.
std::set<std::string> windows_position_by_position(const std::string& log,
                                                   std::int32_t k) {
  fsm_builder builder = testing::builder_from_log(log, k);
  std::set<std::string> plain;
  const auto n_k = static_cast<std::size_t>(k);
  for (const trace& t : builder.traces) {
    for (std::size_t i = 0; t.size() >= n_k && i + n_k <= t.size(); ++i) {
      std::string w;
      for (std::size_t p = i; p < t.size() && w.size() < n_k; ++p) {
        while (p + 1 < t.size() && t[p + 1]->name == t[p]->name) ++p;
        w += t[p]->name;
      }
      plain.insert(w);
    }
  }
  return plain;
}

TEST(CollectWindows, AgreesWithAScanFromEveryPositionOnLogsWithLongRuns) {
  for (std::uint64_t seed = 1; seed <= 200; ++seed) {
    testing::seeded_sequence rng(seed);
    std::string log;
    for (std::uint32_t line = rng.below(4) + 1; line > 0; --line) {
      for (std::uint32_t run = rng.below(8); run > 0; --run) {
        const std::string name(1, static_cast<char>('a' + rng.below(3)));
        for (std::uint32_t r = rng.below(4) + 1; r > 0; --r) log += name + ";";
      }
      log += "\n";
    }
    const auto k = static_cast<std::int32_t>(2 + rng.below(4));
    ASSERT_TRUE(windows_are(log, k, windows_position_by_position(log, k))) << log << k;
  }
}

}  // namespace
}  // namespace logfsm
