#include "model/machine.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "model/fsm_transition.h"
#include "support/fixtures.h"

namespace logfsm {
namespace {

using testing::describe;
using testing::st;
using testing::states_named;
using testing::tr;

// The transitions in the order given, one "from->to" per line as in
// describe(machine), duplicates kept.
std::string describe(const std::vector<fsm_transition>& transitions) {
  std::string text;
  for (const fsm_transition& t : transitions) {
    machine one;
    one.insert(t);
    text += describe(one);
  }
  return text;
}

TEST(MachineTransitionTest, NewTransitionHasANewFlagCopiesShareIt) {
  const fsm_state a = st("a", 0);
  const fsm_state b = st("b", 0);
  const fsm_transition t(a, b);
  EXPECT_FALSE(*t.used);
  EXPECT_NE(fsm_transition(a, b).used, t.used);
  EXPECT_EQ(t.from.accepting, a.accepting);
  EXPECT_EQ(t.to.event, b.event);

  const fsm_transition copy = t;
  *copy.used = true;
  EXPECT_TRUE(*t.used);
}

TEST(MachineTransitionTest, SelfLoopGoesByStateEquality) {
  EXPECT_TRUE(fsm_transition(st("a", 2), st("a", 2)).is_self_loop());
  EXPECT_FALSE(fsm_transition(st("a", 2), st("a", 3)).is_self_loop());
  EXPECT_FALSE(fsm_transition(st("a", 2), st("b", 2)).is_self_loop());
}

TEST(MachineTransitionTest, OrderByFromThenTo) {
  const fsm_state s0;
  machine m;
  for (const fsm_transition& t :
       {tr(st("b", 0), st("a", 0)), tr(st("a", -1), st("a", 0)),
        tr(st("a", 4), st("c", 0)), tr(st("a", 4), st("b", -3)),
        tr(st("a", 4), st("b", 7)), tr(s0, st("z", 0)), tr(st("", 0), st("z", 0))}) {
    m.insert(t);
  }
  EXPECT_EQ(describe(m),
            "/0->z/0\n"
            "/-1->z/0\n"
            "a/4->b/7\n"
            "a/4->b/-3\n"
            "a/4->c/0\n"
            "a/-1->a/0\n"
            "b/0->a/0\n");
}

TEST(MachineTest, EqualEndsAreOneElementWhateverObjectsTheyHold) {
  machine m;
  EXPECT_TRUE(m.empty());
  EXPECT_TRUE(m.insert(tr(st("a", 0), st("b", 0))));
  EXPECT_FALSE(m.insert(tr(st("a", 0), st("b", 0))));
  EXPECT_TRUE(m.insert(tr(st("a", 0), st("b", 1))));
  EXPECT_TRUE(m.insert(tr(st("b", 0), st("a", 0))));
  EXPECT_EQ(m.size(), 3u);
}

TEST(MachineTest, InsertingAnEqualTransitionKeepsTheStoredFlag) {
  machine m;
  const fsm_transition stored_false = tr(st("a", 0), st("b", 0), false);
  m.insert(stored_false);
  EXPECT_FALSE(m.insert(tr(st("a", 0), st("b", 0), true)));
  EXPECT_EQ(describe(m), "a/0->b/0\n");
  EXPECT_EQ(m.begin()->used, stored_false.used);

  const fsm_transition stored_true = tr(st("c", 0), st("d", 0), true);
  m.insert(stored_true);
  EXPECT_FALSE(m.insert(tr(st("c", 0), st("d", 0), false)));
  EXPECT_EQ(describe(m), "a/0->b/0\nc/0->d/0 used\n");
}

TEST(MachineTest, StoredTransitionSharesTheInsertedOnesParts) {
  machine m;
  const fsm_transition t = tr(fsm_state(), st("a", 0));
  m.insert(t);
  *t.used = true;
  *t.to.accepting = true;
  EXPECT_TRUE(*m.begin()->used);
  EXPECT_TRUE(*m.begin()->to.accepting);
}

TEST(MachineTest, EraseGoesByEnds) {
  machine m;
  m.insert(tr(st("a", 0), st("b", 0), true));
  m.insert(tr(st("a", 0), st("c", 0)));
  EXPECT_FALSE(m.erase(tr(st("b", 0), st("a", 0))));
  EXPECT_TRUE(m.erase(tr(st("a", 0), st("b", 0), false)));
  EXPECT_FALSE(m.erase(tr(st("a", 0), st("b", 0))));
  EXPECT_EQ(describe(m), "a/0->c/0\n");
}

TEST(MachineTest, FindReturnsTheStoredTransition) {
  machine m;
  const fsm_transition stored = tr(st("a", 0), st("b", 0));
  m.insert(stored);
  const std::optional<fsm_transition> found = m.find(st("a", 0), st("b", 0));
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->used, stored.used);
  EXPECT_EQ(found->to.accepting, stored.to.accepting);
  *found->used = true;
  EXPECT_TRUE(*m.begin()->used);

  EXPECT_FALSE(m.find(st("b", 0), st("a", 0)).has_value());
  EXPECT_FALSE(m.find(st("a", 0), st("b", 1)).has_value());
}

class MachineQueryTest : public ::testing::Test {
 protected:
  // s0 -> a/0 -> a/0 (loop), a/0 -> b/0, b/0 -> a/0, b/0 -> c/0.
  MachineQueryTest() {
    for (const fsm_transition& t :
         {tr(fsm_state(), st("a", 0)), tr(st("a", 0), st("a", 0)),
          tr(st("a", 0), st("b", 0)), tr(st("b", 0), st("a", 0)),
          tr(st("b", 0), st("c", 0))}) {
      m.insert(t);
    }
  }
  machine m;
};

TEST_F(MachineQueryTest, IncidentTransitionsInOrderWithALoopOnce) {
  EXPECT_EQ(describe(m.incident_transitions(st("a", 0))),
            "/-1->a/0\na/0->a/0\na/0->b/0\nb/0->a/0\n");
  EXPECT_EQ(describe(m.incident_transitions(st("c", 0))), "b/0->c/0\n");
  EXPECT_TRUE(m.incident_transitions(st("a", 1)).empty());
  EXPECT_TRUE(m.incident_transitions(st("d", 0)).empty());
}

TEST_F(MachineQueryTest, IncidentTransitionsAreASnapshotSharingTheFlags) {
  const std::vector<fsm_transition> around_b = m.incident_transitions(st("b", 0));
  ASSERT_EQ(around_b.size(), 3u);
  for (const fsm_transition& t : around_b) m.erase(t);
  EXPECT_EQ(around_b.size(), 3u);
  EXPECT_EQ(describe(m), "/-1->a/0\na/0->a/0\n");

  const std::vector<fsm_transition> around_a = m.incident_transitions(st("a", 0));
  *around_a[1].used = true;
  EXPECT_EQ(describe(m), "/-1->a/0\na/0->a/0 used\n");
}

TEST(MachineStatesWithEventTest, EachStateOnceInStateOrderExactNamesOnly) {
  machine m;
  m.insert(tr(fsm_state(), st("a", -1)));
  m.insert(tr(st("a", -1), st("a", 3)));
  m.insert(tr(st("a", 3), st("a", -2)));
  m.insert(tr(st("a", -2), st("a", 0)));
  m.insert(tr(st("a", 0), st("ab", 0)));
  m.insert(tr(st("A", 0), st("b", 0)));
  m.insert(tr(st("", 0), st("a", 3)));
  EXPECT_EQ(describe(states_named(m, event_type{"a"})), "a/0 a/3 a/-2 a/-1");
  EXPECT_EQ(describe(states_named(m, event_type{""})), "/0 /-1");
  EXPECT_EQ(describe(states_named(m, event_type{"ab"})), "ab/0");
  EXPECT_TRUE(states_named(m, event_type{"x"}).empty());
}

// A state held by several transitions is returned as the copy at the first
// transition end in the order from, to of the first transition, from, to of
// the second, and so on; its flag is that copy's flag.
TEST(MachineStatesWithEventTest, ReturnsTheCopyMetFirst) {
  const fsm_state a_as_target = st("a", 0);  // in s0 -> a/0, the first transition
  const fsm_state a_as_source = st("a", 0);  // in a/0 -> b/0
  const fsm_state b_first = st("b", 0);      // in a/0 -> b/0
  const fsm_state b_later = st("b", 0);      // in b/0 -> c/0
  machine m;
  m.insert(tr(b_later, st("c", 0)));
  m.insert(tr(a_as_source, b_first));
  m.insert(tr(fsm_state(), a_as_target));

  const std::vector<fsm_state> as = states_named(m, event_type{"a"});
  ASSERT_EQ(as.size(), 1u);
  EXPECT_EQ(as[0].accepting, a_as_target.accepting);
  const std::vector<fsm_state> bs = states_named(m, event_type{"b"});
  ASSERT_EQ(bs.size(), 1u);
  EXPECT_EQ(bs[0].accepting, b_first.accepting);

  // A pass that marks the returned copy marks the copy met first only.
  *as[0].accepting = true;
  EXPECT_TRUE(*a_as_target.accepting);
  EXPECT_FALSE(*a_as_source.accepting);
}

TEST(MachineStatesWithEventTest, SourceOfALoopComesBeforeItsTarget) {
  const fsm_state source = st("a", 0);
  const fsm_state target = st("a", 0);
  machine m;
  m.insert(fsm_transition(source, target));
  const std::vector<fsm_state> as = states_named(m, event_type{"a"});
  ASSERT_EQ(as.size(), 1u);
  EXPECT_EQ(as[0].accepting, source.accepting);
}

TEST(MachineFindToEventTest, TakesTheLowestTargetInStateOrder) {
  machine m;
  const fsm_transition x_to_a3 = tr(st("x", 0), st("a", 3));
  m.insert(tr(st("x", 0), st("a", -2)));
  m.insert(x_to_a3);
  m.insert(tr(st("x", 0), st("ab", 0)));
  m.insert(tr(st("y", 0), st("a", 0)));  // a/0 exists, but x does not lead to it

  const std::optional<fsm_transition> x_a =
      m.find_transition_to_event(st("x", 0), event_type{"a"});
  ASSERT_TRUE(x_a.has_value());
  EXPECT_EQ(describe({*x_a}), "x/0->a/3\n");
  EXPECT_EQ(x_a->used, x_to_a3.used);

  const std::optional<fsm_transition> y_a =
      m.find_transition_to_event(st("y", 0), event_type{"a"});
  ASSERT_TRUE(y_a.has_value());
  EXPECT_EQ(describe({*y_a}), "y/0->a/0\n");
}

TEST(MachineFindToEventTest, NoneWhenNoTargetHasTheName) {
  machine m;
  m.insert(tr(st("x", 0), st("ab", 0)));
  m.insert(tr(st("y", 0), st("a", 0)));
  m.insert(tr(st("a", 0), st("x", 0)));
  EXPECT_FALSE(m.find_transition_to_event(st("x", 0), event_type{"a"}).has_value());
  EXPECT_FALSE(m.find_transition_to_event(st("x", 1), event_type{"ab"}).has_value());
  EXPECT_FALSE(m.find_transition_to_event(st("z", 0), event_type{"a"}).has_value());
  EXPECT_FALSE(
      machine().find_transition_to_event(fsm_state(), event_type{""}).has_value());
}

TEST(MachineStatesTest, EveryStateOnceInStateOrder) {
  EXPECT_TRUE(machine().states().empty());

  machine m;
  m.insert(tr(st("b", -1), st("a", 5)));
  m.insert(tr(st("a", 5), st("a", 5)));
  m.insert(tr(fsm_state(), st("b", 2)));
  m.insert(tr(st("b", 2), st("b", -1)));
  std::vector<fsm_state> states;
  for (const state_summary& s : m.states()) states.push_back(s.state);
  EXPECT_EQ(describe(states), "/-1 a/5 b/2 b/-1");
}

// The state is the copy met first; it counts as accepting when the flag of
// any copy at a transition end is set, also a copy met later.
TEST(MachineStatesTest, AcceptingWhenAnyCopyIsAccepting) {
  const fsm_state a_first = st("a", 0);  // s0 -> a/0
  const fsm_state a_later = st("a", 0);  // a/0 -> b/0
  const fsm_state b_first = st("b", 0);  // a/0 -> b/0
  const fsm_state b_later = st("b", 0);  // b/0 -> c/0
  const fsm_state c = st("c", 0);
  machine m;
  m.insert(tr(fsm_state(), a_first));
  m.insert(tr(a_later, b_first));
  m.insert(tr(b_later, c));
  *a_later.accepting = true;
  *b_first.accepting = true;

  const std::vector<state_summary> states = m.states();
  ASSERT_EQ(states.size(), 4u);
  EXPECT_FALSE(states[0].accepting);
  EXPECT_EQ(states[1].state.accepting, a_first.accepting);
  EXPECT_TRUE(states[1].accepting);
  EXPECT_EQ(states[2].state.accepting, b_first.accepting);
  EXPECT_TRUE(states[2].accepting);
  EXPECT_EQ(describe({states[3].state}), "c/0");
  EXPECT_FALSE(states[3].accepting);
}

}  // namespace
}  // namespace logfsm
