#include "model/window.h"

#include <gtest/gtest.h>

#include <set>

namespace logfsm {
namespace {

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
