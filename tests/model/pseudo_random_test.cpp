#include "model/pseudo_random.h"

#include <gtest/gtest.h>

#include <vector>

namespace logfsm {
namespace {

std::vector<int> draw(pseudo_random& random, int count) {
  std::vector<int> values;
  for (int i = 0; i < count; ++i) values.push_back(random.next());
  return values;
}

TEST(ModelPseudoRandomTest, SameSequenceFromEveryNewGenerator) {
  const std::vector<int> expected = {41,    18467, 6334,  26500, 19169,
                                     15724, 11478, 29358, 26962, 24464};
  pseudo_random first;
  EXPECT_EQ(draw(first, 10), expected);
  pseudo_random second;
  EXPECT_EQ(draw(second, 10), expected);
  EXPECT_EQ(first.next(), second.next());
}

TEST(ModelPseudoRandomTest, ValuesStayIn15Bits) {
  pseudo_random random;
  int high = 0;
  for (int i = 0; i < 100000; ++i) {
    const int v = random.next();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, 32767);
    high = v > high ? v : high;
  }
  EXPECT_GT(high, 32000);  // the top bits are in use
}

TEST(ModelPseudoRandomTest, OffsetAddsTheRemainderAndWrapsIn16Bits) {
  EXPECT_EQ(offset_id(0, 41), 41);
  EXPECT_EQ(offset_id(0, 18467), 67);
  EXPECT_EQ(offset_id(-1, 0), -1);
  EXPECT_EQ(offset_id(-1, 201), 0);
  EXPECT_EQ(offset_id(10, 199), 209);
  EXPECT_EQ(offset_id(10, 200), 10);
  EXPECT_EQ(offset_id(-300, 32767), -133);
  EXPECT_EQ(offset_id(32767, 1), -32768);
  EXPECT_EQ(offset_id(32767, 0), 32767);
  EXPECT_EQ(offset_id(32700, 199), -32637);
  EXPECT_EQ(offset_id(-32768, 199), -32569);
}

}  // namespace
}  // namespace logfsm
