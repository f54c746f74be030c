#include "model/fsm_builder.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fixtures.h"

namespace logfsm {
namespace {

using testing::builder_from_log;

std::vector<std::vector<std::string>> names(const fsm_builder& b) {
  std::vector<std::vector<std::string>> result;
  for (const trace& t : b.traces) {
    result.emplace_back();
    for (const event_ptr& e : t) result.back().push_back(e->name);
  }
  return result;
}

TEST(ModelBuilderTest, StartsWithTracesOnly) {
  const fsm_builder b(raw_traces{{"a", "b"}, {}, {"c"}}, 3);
  EXPECT_EQ(b.k, 3);
  EXPECT_EQ(names(b), (raw_traces{{"a", "b"}, {}, {"c"}}));
  EXPECT_TRUE(b.transitions.empty());
  EXPECT_TRUE(b.observed_windows.empty());
  EXPECT_TRUE(b.successor_pairs.empty());
  EXPECT_TRUE(b.removed_transitions.empty());
}

TEST(ModelBuilderTest, EveryOccurrenceGetsItsOwnEvent) {
  const fsm_builder b = builder_from_log("a;a;\na;\n", 2);
  ASSERT_EQ(b.traces.size(), 2u);
  ASSERT_EQ(b.traces[0].size(), 2u);
  EXPECT_NE(b.traces[0][0], b.traces[0][1]);
  EXPECT_NE(b.traces[0][0], b.traces[1][0]);
  EXPECT_TRUE(same_event(b.traces[0][0], b.traces[0][1]));
  EXPECT_TRUE(same_event(b.traces[0][0], b.traces[1][0]));
}

TEST(ModelBuilderTest, NamesAreKeptByteForByteAndEmptyTracesStay) {
  const std::string odd_name("\0 x\xff\t", 5);
  const fsm_builder b(raw_traces{{}, {"", odd_name}, {}}, 2);
  EXPECT_EQ(names(b), (raw_traces{{}, {"", odd_name}, {}}));
  EXPECT_TRUE(fsm_builder(raw_traces{}, 2).traces.empty());
}

TEST(ModelBuilderTest, EachBuilderNumbersWithItsOwnSequence) {
  fsm_builder first(raw_traces{{"a"}}, 2);
  EXPECT_EQ(first.random.next(), 41);
  EXPECT_EQ(first.random.next(), 18467);
  fsm_builder second(raw_traces{{"a"}}, 2);
  EXPECT_EQ(second.random.next(), 41);
}

}  // namespace
}  // namespace logfsm
