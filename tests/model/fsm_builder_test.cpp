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
  const fsm_builder b = builder_from_log("a;b;\n\nc;", 3);
  EXPECT_EQ(b.k, 3);
  EXPECT_EQ(names(b), (raw_traces{{"a", "b"}, {}, {"c"}}));
  EXPECT_TRUE(b.transitions.empty());
  EXPECT_TRUE(b.observed_windows.empty());
  EXPECT_TRUE(b.successor_pairs.empty());
  EXPECT_TRUE(b.removed_transitions.empty());
}

TEST(ModelBuilderTest, OneEventPerNameRankedInNameOrder) {
  const fsm_builder b = builder_from_log("a;\xff;a;\nab;;b;\n", 2);
  ASSERT_EQ(b.traces.size(), 2u);
  EXPECT_EQ(b.traces[0][0], b.traces[0][2]);
  // "" < "a" < "ab" < "b" < "\xff" with unsigned bytes; ranks must agree,
  // also against events made on their own or by another table.
  const std::vector<event_ptr> in_order = {b.traces[1][1], b.traces[0][0],
                                           b.traces[1][0], b.traces[1][2],
                                           b.traces[0][1]};
  const fsm_builder other = builder_from_log("ab;b;\n", 2);
  for (std::size_t i = 0; i < in_order.size(); ++i) {
    for (std::size_t j = 0; j < in_order.size(); ++j) {
      const int expected = i < j ? -1 : (i > j ? 1 : 0);
      const auto sign = [](int v) { return (v > 0) - (v < 0); };
      EXPECT_EQ(sign(compare_events(*in_order[i], *in_order[j])), expected);
      const event_ptr alone = make_event(in_order[j]->name);
      EXPECT_EQ(sign(compare_events(*in_order[i], *alone)), expected);
    }
    for (const event_ptr& e : other.traces[0]) {
      EXPECT_EQ(same_event(in_order[i], e), in_order[i]->name == e->name);
    }
  }
}

TEST(ModelBuilderTest, NamesAreKeptByteForByteAndEmptyTracesStay) {
  const std::string odd_name("\0 x\xff\t", 5);
  const fsm_builder b = builder_from_log("\n;" + odd_name + ";\n\n", 2);
  EXPECT_EQ(names(b), (raw_traces{{}, {"", odd_name}, {}}));
  EXPECT_TRUE(builder_from_log("", 2).traces.empty());
}

TEST(ModelBuilderTest, EachBuilderNumbersWithItsOwnSequence) {
  fsm_builder first = builder_from_log("a;", 2);
  EXPECT_EQ(first.random.next(), 41);
  EXPECT_EQ(first.random.next(), 18467);
  fsm_builder second = builder_from_log("a;", 2);
  EXPECT_EQ(second.random.next(), 41);
}

}  // namespace
}  // namespace logfsm
