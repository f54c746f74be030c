#include "integration/integrate_trace.h"

#include <gtest/gtest.h>

#include "support/fixtures.h"

namespace logfsm {
namespace {

using testing::describe;
using testing::events;
using testing::machine_of;
using testing::observe;
using testing::st;
using testing::tr;

std::string names(const trace& t) {
  std::string result;
  for (const event_ptr& e : t) result += e->name + ";";
  return result;
}

TEST(CollapseRepeats, KeepsTheLastEventOfEveryRun) {
  EXPECT_EQ(names(collapse_repeats(events({"a", "a", "b", "b", "b", "a"}))), "a;b;a;");
  EXPECT_EQ(names(collapse_repeats(events({"a", "a", "a"}))), "a;");
  EXPECT_EQ(names(collapse_repeats(events({}))), "");
  const trace t = events({"x", "x"});
  EXPECT_EQ(collapse_repeats(t).at(0), t[1]);
}

class IntegrateTrace : public ::testing::Test {
 protected:
  bool accepting(const std::string& name, std::int16_t id) {
    for (const state_summary& s : builder.transitions.states()) {
      if (s.state == st(name, id)) return s.accepting;
    }
    ADD_FAILURE() << name << "/" << id << " is not in the machine";
    return false;
  }
  fsm_builder builder = testing::builder_from_log("", 2);
  pruner pruning;
  fsm_state initial;
};

TEST_F(IntegrateTrace, OneEventTraceMakesAUsedStartTransitionAndAcceptsItsTarget) {
  integrate_trace(builder, pruning, events({"a", "a"}));
  EXPECT_EQ(describe(builder.transitions), "/-1->a/0 used\n");
  EXPECT_TRUE(accepting("a", 0));
  integrate_trace(builder, pruning, events({"a"}));
  EXPECT_EQ(builder.transitions.size(), 1u);
}

TEST_F(IntegrateTrace, StartsAtTheLowestStateOfTheFirstEvent) {
  builder.transitions = machine_of({tr(initial, st("a", 3), true), tr(initial, st("a"))});
  integrate_trace(builder, pruning, events({"a"}));
  EXPECT_EQ(describe(builder.transitions), "/-1->a/0 used\n/-1->a/3 used\n");
  EXPECT_TRUE(accepting("a", 0));
  EXPECT_FALSE(accepting("a", 3));
}

TEST_F(IntegrateTrace, EmptyTraceChangesNothingAndDrawsNothing) {
  builder.transitions = machine_of({tr(st("a"), st("b"))});
  integrate_trace(builder, pruning, {});
  EXPECT_EQ(describe(builder.transitions), "a/0->b/0\n");
  EXPECT_EQ(builder.random.next(), 41);
}

TEST_F(IntegrateTrace, FollowsWindowsAndAcceptsTheStateOfTheLastEvent) {
  const fsm_state a = st("a"), b = st("b"), c = st("c");
  builder.transitions = machine_of({tr(a, b), tr(b, c)});
  observe(builder, {"a", "b"});
  observe(builder, {"b", "c"});
  integrate_trace(builder, pruning, events({"a", "b", "b", "c"}));
  EXPECT_EQ(describe(builder.transitions),
            "/-1->a/0 used\na/0->b/0 used\nb/0->c/0 used\n");
  EXPECT_TRUE(accepting("c", 0));
  EXPECT_FALSE(accepting("b", 0));
}

TEST_F(IntegrateTrace, AcceptsTheCopyReachedNotOtherCopiesOfTheSameState) {
  const fsm_state a = st("a"), b = st("b");
  // Separately made states, as seeding makes them: separate flags.
  builder.transitions = machine_of({tr(a, b), tr(st("b"), st("a"))});
  observe(builder, {"a", "b"});
  observe(builder, {"b", "a"});
  integrate_trace(builder, pruning, events({"a", "b"}));
  // b/0 is reached through a->b; the copy held by b->a keeps its own flag.
  EXPECT_TRUE(*builder.transitions.find(a, b)->to.accepting);
  EXPECT_FALSE(*builder.transitions.find(b, a)->from.accepting);
}

TEST_F(IntegrateTrace, TailStepsStayPutWhenNoTransitionLeadsOn) {
  builder.k = 3;
  const fsm_state a = st("a"), b = st("b"), c = st("c"), d = st("d");
  builder.transitions = machine_of({tr(a, b, true), tr(b, c, true)});
  observe(builder, {"a", "b", "c"});
  observe(builder, {"b", "c", "d"});
  {
    fsm_state current = b;
    // From b: no transition leads to x, so the walk stays at b, and it
    // takes k - 2 = 1 step only.
    walk_tail(builder, pruning, current, events({"a", "b", "x", "c"}), 1);
    EXPECT_EQ(describe({current}), "b/0");
    EXPECT_TRUE(*current.accepting);
  }
  {
    fsm_state current = b;
    walk_tail(builder, pruning, current, events({"a", "b", "c"}), 1);
    EXPECT_EQ(describe({current}), "c/0");
  }
}

TEST_F(IntegrateTrace, TailLooksOnlyAtTargetsSoAnEntryIntoTheStateMatchesItsName) {
  builder.k = 3;
  const fsm_state a = st("a"), b = st("b"), c = st("c");
  builder.transitions = machine_of({tr(a, b, true), tr(b, c, true)});
  fsm_state current = b;
  // The next event is b: a->b ends in b, so the walk stays at b.
  walk_tail(builder, pruning, current, events({"a", "b", "c"}), 0);
  EXPECT_EQ(describe({current}), "b/0");
}

}  // namespace
}  // namespace logfsm
