#include "integration/window_matching.h"

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

class WindowMatching : public ::testing::Test {
 protected:
  fsm_builder builder = testing::builder_from_log("", 2);
  pruner pruning;
  fsm_state a = st("a"), b0 = st("b"), b7 = st("b", 7);
};

TEST_F(WindowMatching, FollowsTheFirstEnumeratedPathThatSpellsTheWindow) {
  builder.transitions = machine_of({tr(a, b0), tr(a, b7)});
  observe(builder, {"a", "b"});
  fsm_state current = a;
  match_window(builder, pruning, events({"a", "b"}), current);
  EXPECT_EQ(describe({current}), "b/7");
  EXPECT_EQ(describe(builder.transitions), "a/0->b/0\na/0->b/7 used\n");
  EXPECT_TRUE(builder.removed_transitions.empty());
}

TEST_F(WindowMatching, CurrentStateSharesTheFlagOfTheFollowedTransitionsTarget) {
  builder.transitions = machine_of({tr(a, b7)});
  observe(builder, {"a", "b"});
  fsm_state current = a;
  match_window(builder, pruning, events({"a", "b"}), current);
  *current.accepting = true;
  EXPECT_TRUE(*builder.transitions.begin()->to.accepting);
}

TEST_F(WindowMatching, PrunesEnumeratedPathsThatWereNeverObserved) {
  builder.transitions = machine_of({tr(a, b0), tr(a, b7)});
  fsm_state current = a;
  match_window(builder, pruning, events({"a", "b"}), current);
  // Both paths spell a b, which is not observed: the followed one is used
  // and survives, the other loses its unused transition.
  EXPECT_EQ(describe(builder.transitions), "a/0->b/7 used\n");
  ASSERT_EQ(builder.removed_transitions.size(), 1u);
  EXPECT_EQ(describe(machine_of({builder.removed_transitions[0]})), "a/0->b/0\n");
}

TEST_F(WindowMatching, UnmatchedWindowGoesToPathCreation) {
  builder.transitions = machine_of({tr(fsm_state(), a, true), tr(a, b0, true)});
  fsm_state current = a;
  match_window(builder, pruning, events({"a", "e"}), current);
  EXPECT_EQ(describe({current}), "e/41");
  EXPECT_EQ(describe(builder.transitions),
            "/-1->a/0 used\na/0->b/0 used\na/0->e/41 used\n");
}

TEST_F(WindowMatching, WindowShorterThanKAlwaysCreates) {
  builder.k = 3;
  const fsm_state c = st("c");
  builder.transitions = machine_of({tr(a, b0, true), tr(b0, c, true)});
  observe(builder, {"a", "b", "c"});
  fsm_state current = a;
  match_window(builder, pruning, events({"a", "b"}), current);
  // Creation follows the existing a->b: nothing is added or drawn.
  EXPECT_EQ(describe({current}), "b/0");
  EXPECT_EQ(describe(builder.transitions), "a/0->b/0 used\nb/0->c/0 used\n");
  EXPECT_EQ(builder.random.next(), 41);
}

TEST(MarkPathUsed, MarksStoredStepsSkipsMissingOnesAndReturnsTheSecondState) {
  const fsm_state a = st("a"), b = st("b"), c = st("c");
  const machine m = machine_of({tr(a, b)});
  EXPECT_EQ(describe({mark_path_used(m, {a, b, c})}), "b/0");
  EXPECT_EQ(describe(m), "a/0->b/0 used\n");
}

}  // namespace
}  // namespace logfsm
