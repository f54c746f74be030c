#include "model/fsm_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "model/event.h"
#include "model/fsm_transition.h"
#include "support/fixtures.h"

namespace logfsm {
namespace {

using testing::describe;
using testing::st;

TEST(StateEventTest, EventsCompareByNameNotByObject) {
  const event_ptr a1 = make_event("a");
  const event_ptr a2 = make_event("a");
  EXPECT_NE(a1, a2);
  EXPECT_TRUE(same_event(a1, a2));
  EXPECT_FALSE(same_event(a1, make_event("A")));
  EXPECT_FALSE(same_event(a1, make_event("a ")));
  EXPECT_FALSE(same_event(make_event(std::string("a\0b", 3)), make_event("a")));
  EXPECT_TRUE(same_event(make_event(""), make_event("")));
}

TEST(StateEventTest, NamesOrderByUnsignedBytes) {
  EXPECT_TRUE(name_less("", "a"));
  EXPECT_TRUE(name_less("B", "a"));
  EXPECT_TRUE(name_less("a", "ab"));
  EXPECT_TRUE(name_less("ab", "b"));
  EXPECT_TRUE(name_less("z", "\x80"));
  EXPECT_TRUE(name_less("\x7f", "\x80"));
  EXPECT_TRUE(name_less("\x80", "\xff"));
  EXPECT_TRUE(name_less(std::string("a\0", 2), "a\x01"));
  EXPECT_TRUE(name_less("a", std::string("a\0", 2)));
  EXPECT_FALSE(name_less("a", "a"));
  EXPECT_FALSE(name_less("\xff", "a"));
}

TEST(StateTest, DefaultStateIsANewInitialState) {
  const fsm_state s;
  EXPECT_EQ(s.id, -1);
  EXPECT_EQ(s.name(), "");
  ASSERT_NE(s.accepting, nullptr);
  EXPECT_FALSE(*s.accepting);
  EXPECT_TRUE(is_initial_state(s));

  const fsm_state other;
  EXPECT_EQ(s, other);
  EXPECT_NE(s.event, other.event);
  EXPECT_NE(s.accepting, other.accepting);
}

TEST(StateTest, MadeStateSharesItsEventAndGetsANewFlag) {
  const event_ptr a = make_event("a");
  const fsm_state s(7, a);
  EXPECT_EQ(s.id, 7);
  EXPECT_EQ(s.event, a);
  EXPECT_FALSE(*s.accepting);
  EXPECT_NE(fsm_state(7, a).accepting, s.accepting);
}

TEST(StateTest, InitialStateNeedsIdMinusOneAndTheEmptyName) {
  EXPECT_TRUE(is_initial_state(st("", -1)));
  EXPECT_FALSE(is_initial_state(st("", 0)));
  EXPECT_FALSE(is_initial_state(st("", -2)));
  EXPECT_FALSE(is_initial_state(st("a", -1)));
  EXPECT_FALSE(is_initial_state(st("s0", -1)));
}

TEST(StateTest, EqualityIgnoresFlagsAndObjects) {
  fsm_state a = st("a", 0);
  const fsm_state a_again = st("a", 0);
  *a.accepting = true;
  EXPECT_EQ(a, a_again);
  EXPECT_FALSE(a == st("a", 1));
  EXPECT_FALSE(a == st("b", 0));
  EXPECT_FALSE(st("", 0) == fsm_state());
}

TEST(StateTest, CopiesShareTheFlagSeparatelyMadeStatesDoNot) {
  const fsm_state original = st("a", 0);
  const fsm_state copy = original;
  fsm_state copy_of_copy = copy;
  const fsm_state separate = st("a", 0);

  *copy_of_copy.accepting = true;
  EXPECT_TRUE(*original.accepting);
  EXPECT_TRUE(*copy.accepting);
  EXPECT_FALSE(*separate.accepting);
  EXPECT_EQ(copy.event, original.event);

  // Assignment makes the target a member of the source's line of copies.
  fsm_state assigned = separate;
  assigned = original;
  EXPECT_TRUE(*assigned.accepting);
  EXPECT_FALSE(*separate.accepting);
}

TEST(StateTest, StatesInsideTransitionsShareTheFlagOfTheirSource) {
  const fsm_state a = st("a", 0);
  const fsm_transition into_a(fsm_state(), a);
  const fsm_transition out_of_a(into_a.to, st("b", 0));
  *into_a.to.accepting = true;
  EXPECT_TRUE(*a.accepting);
  EXPECT_TRUE(*out_of_a.from.accepting);
  EXPECT_FALSE(*st("a", 0).accepting);
}

// The order of the ids of one name, smallest first.
TEST(StateOrderTest, IdsNonNegativeAscendingThenNegativeAscending) {
  const std::vector<std::int16_t> expected = {0, 3, 5, 32767, -32768, -2, -1};
  std::set<fsm_state, state_less> states;
  for (const std::int16_t id : {-1, 5, -32768, 0, 32767, -2, 3})
    states.insert(st("a", id));
  std::vector<std::int16_t> ids;
  for (const fsm_state& s : states) ids.push_back(s.id);
  EXPECT_EQ(ids, expected);

  EXPECT_TRUE(state_less_ids(5, -2));
  EXPECT_TRUE(state_less_ids(-2, -1));
  EXPECT_FALSE(state_less_ids(-1, 0));
  EXPECT_FALSE(state_less_ids(3, 3));
}

TEST(StateOrderTest, NameDecidesBeforeId) {
  std::set<fsm_state, state_less> states;
  states.insert(st("b", 0));
  states.insert(st("\x80", 0));
  states.insert(st("ab", 0));
  states.insert(st("a", -1));
  states.insert(st("a", 1));
  states.insert(st("B", 9));
  states.insert(st("", 0));
  states.insert(fsm_state());
  states.insert(st("z", 0));
  EXPECT_EQ(describe(std::vector<fsm_state>(states.begin(), states.end())),
            "/0 /-1 B/9 a/1 a/-1 ab/0 b/0 z/0 \x80/0");
}

TEST(StateOrderTest, EqualStatesAreOneElementFlagsPlayNoPart) {
  const state_less less;
  fsm_state a = st("a", 3);
  const fsm_state a_again = st("a", 3);
  *a.accepting = true;
  EXPECT_FALSE(less(a, a_again));
  EXPECT_FALSE(less(a_again, a));
  EXPECT_FALSE(less(a, a));

  std::set<fsm_state, state_less> states = {a};
  EXPECT_FALSE(states.insert(a_again).second);
  // The set keeps the element inserted first, with its flag.
  EXPECT_EQ(states.begin()->accepting, a.accepting);
}

}  // namespace
}  // namespace logfsm
