#include "learning/statistics.h"

#include <gtest/gtest.h>

#include "support/fixtures.h"

namespace logfsm {
namespace {

std::string pairs_of(const std::string& log) {
  fsm_builder builder = testing::builder_from_log(log, 2);
  for (const trace& t : builder.traces) collect_pairs(builder, t);
  std::string result;
  for (const auto& [a, b] : builder.successor_pairs) result += a->name + b->name + " ";
  return result;
}

std::string windows_of(const std::string& log, std::int32_t k) {
  fsm_builder builder = testing::builder_from_log(log, k);
  for (const trace& t : builder.traces) collect_windows(builder, t);
  std::string result;
  for (const window& w : builder.observed_windows) {
    for (const event_ptr& e : w) result += e->name;
    result += " ";
  }
  return result;
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
  EXPECT_EQ(windows_of("a;a;b;c;\n", 2), "ab bc ");
  EXPECT_EQ(windows_of("a;b;c;c;\n", 3), "abc bc ");
  EXPECT_EQ(windows_of("a;b;b;c;d;\n", 3), "abc bcd ");
  EXPECT_EQ(windows_of("a;a;a;\n", 2), "a ");
  EXPECT_EQ(windows_of("a;b;a;b;\n", 2), "ab ba ");
}

TEST(CollectWindows, TracesShorterThanKAddNothing) {
  EXPECT_EQ(windows_of("a;b;\n\n", 3), "");
  EXPECT_EQ(windows_of("a;b;c;\n", 3), "abc ");
}

}  // namespace
}  // namespace logfsm
