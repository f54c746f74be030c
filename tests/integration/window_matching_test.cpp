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
  fsm_state a = st("a"), b0 = st("b"), b7 = st("b", 7);
};

TEST_F(WindowMatching, FollowsTheFirstEnumeratedPathThatSpellsTheWindow) {
  builder.transitions = machine_of({tr(a, b0), tr(a, b7)});
  observe(builder, {"a", "b"});
  fsm_state current = a;
  match_window(builder, events({"a", "b"}), current);
  EXPECT_EQ(describe({current}), "b/7");
  EXPECT_EQ(describe(builder.transitions), "a/0->b/0\na/0->b/7 used\n");
  EXPECT_TRUE(builder.removed_transitions.empty());
}

TEST_F(WindowMatching, CurrentStateSharesTheFlagOfTheFollowedTransitionsTarget) {
  builder.transitions = machine_of({tr(a, b7)});
  observe(builder, {"a", "b"});
  fsm_state current = a;
  match_window(builder, events({"a", "b"}), current);
  *current.accepting = true;
  EXPECT_TRUE(*builder.transitions.begin()->to.accepting);
}

TEST_F(WindowMatching, PrunesEnumeratedPathsThatWereNeverObserved) {
  builder.transitions = machine_of({tr(a, b0), tr(a, b7)});
  fsm_state current = a;
  match_window(builder, events({"a", "b"}), current);
  // Both paths spell a b, which is not observed: the followed one is used
  // and survives, the other loses its unused transition.
  EXPECT_EQ(describe(builder.transitions), "a/0->b/7 used\n");
  ASSERT_EQ(builder.removed_transitions.size(), 1u);
  EXPECT_EQ(describe(machine_of({builder.removed_transitions[0]})), "a/0->b/0\n");
}

TEST_F(WindowMatching, UnmatchedWindowGoesToPathCreation) {
  builder.transitions = machine_of({tr(fsm_state(), a, true), tr(a, b0, true)});
  fsm_state current = a;
  match_window(builder, events({"a", "e"}), current);
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
  match_window(builder, events({"a", "b"}), current);
  // Creation follows the existing a->b: nothing is added or drawn.
  EXPECT_EQ(describe({current}), "b/0");
  EXPECT_EQ(describe(builder.transitions), "a/0->b/0 used\nb/0->c/0 used\n");
  EXPECT_EQ(builder.random.next(), 41);
}

class Pruning : public WindowMatching {
 protected:
  void SetUp() override { builder.k = 3; }
  fsm_state c = st("c"), d = st("d");
};

TEST_F(Pruning, RemovesTheFirstUnusedTransitionAlongAnUnobservedPath) {
  builder.transitions = machine_of({tr(a, b0, true), tr(b0, c, false)});
  prune_unobserved_paths(builder, {{a, b0, c}});
  EXPECT_EQ(describe(builder.transitions), "a/0->b/0 used\n");
  ASSERT_EQ(builder.removed_transitions.size(), 1u);
  const fsm_transition& removed = builder.removed_transitions[0];
  EXPECT_EQ(describe({removed.from, removed.to}), "b/0 c/0");
  EXPECT_FALSE(*removed.used);
}

TEST_F(Pruning, RemovesATransitionSharedByTwoPathsOnce) {
  builder.transitions = machine_of({tr(a, b0), tr(b0, c), tr(b0, d)});
  prune_unobserved_paths(builder, {{a, b0, c}, {a, b0, d}});
  EXPECT_EQ(describe(builder.transitions), "b/0->c/0\nb/0->d/0\n");
  EXPECT_EQ(builder.removed_transitions.size(), 1u);
}

TEST_F(Pruning, KeepsObservedPathsAndFullyUsedPaths) {
  builder.transitions = machine_of({tr(a, b0), tr(b0, c), tr(a, b7, true), tr(b7, d, true)});
  observe(builder, {"a", "b", "c"});
  prune_unobserved_paths(builder, {{a, b0, c}, {a, b7, d}});
  EXPECT_EQ(builder.transitions.size(), 4u);
  EXPECT_TRUE(builder.removed_transitions.empty());
}

TEST_F(Pruning, AppendsRemovedTransitionsInTransitionOrder) {
  builder.transitions = machine_of({tr(a, b0), tr(b0, c), tr(c, d)});
  prune_unobserved_paths(builder, {{c, d, d}, {a, b0, c}});
  ASSERT_EQ(builder.removed_transitions.size(), 2u);
  EXPECT_EQ(builder.removed_transitions[0].from.name(), "a");
  EXPECT_EQ(builder.removed_transitions[1].from.name(), "c");
}

TEST_F(Pruning, RemakesAnErasedTransitionAsUsedWithTheSourcesEvent) {
  builder.transitions = machine_of({tr(a, b0, true)});
  // b/0->c/0 is gone: it is made again towards a new state of b's event,
  // used, so nothing is removed.
  prune_unobserved_paths(builder, {{a, b0, c}});
  EXPECT_EQ(describe(builder.transitions), "a/0->b/0 used\nb/0->b/41 used\n");
  EXPECT_TRUE(builder.removed_transitions.empty());
}

TEST_F(Pruning, EveryPathThroughAMissingStepDrawsAgain) {
  // Neither step of either path is stored: each path makes both of its steps
  // anew, four numbers in all; the shared first step is no shortcut.
  prune_unobserved_paths(builder, {{a, b0, c}, {a, b0, d}});
  EXPECT_EQ(builder.random.next(), 19169);  // the fifth number
  EXPECT_TRUE(builder.removed_transitions.empty());
}

// The paths of a tree taken before a change, pruned as a tree and as a list:
// same machine, same removals in the same order, same numbers drawn.
TEST_F(Pruning, ATreeTakenBeforeAChangePrunesLikeItsListedPaths) {
  const fsm_state b3 = st("b", 3), e = st("e");
  for (int erased = 0; erased < 4; ++erased) {
    fsm_builder listed = testing::builder_from_log("", 4), treed = testing::builder_from_log("", 4);
    for (fsm_builder* b : {&listed, &treed}) {
      b->transitions = machine_of({tr(a, b0, true), tr(a, b3), tr(a, b7, true), tr(b0, c, true),
                                   tr(b3, c), tr(b7, c), tr(b7, d, true), tr(c, d),
                                   tr(c, e, true), tr(d, e)});
      observe(*b, {"a", "b", "c", "e"});
    }
    const std::vector<path> paths = enumerate_paths(listed.transitions, 4, a, direction::forward);
    const path_tree tree = make_path_tree(treed.transitions, 4, a);
    // Path creation may erase steps of the paths taken.
    const std::vector<std::pair<fsm_state, fsm_state>> steps = {{a, b0}, {b7, c}, {c, d}, {a, b3}};
    for (fsm_builder* b : {&listed, &treed}) {
      b->transitions.erase(tr(steps[erased].first, steps[erased].second));
    }
    prune_unobserved_paths(listed, paths);
    prune_unobserved_paths(treed, tree);
    EXPECT_EQ(describe(treed.transitions), describe(listed.transitions)) << erased;
    ASSERT_EQ(treed.removed_transitions.size(), listed.removed_transitions.size());
    for (std::size_t i = 0; i < listed.removed_transitions.size(); ++i) {
      const fsm_transition& x = listed.removed_transitions[i];
      const fsm_transition& y = treed.removed_transitions[i];
      EXPECT_EQ(describe({x.from, x.to}), describe({y.from, y.to}));
    }
    EXPECT_EQ(treed.random.next(), listed.random.next()) << erased;
  }
}

TEST(FindOrMakeTransition, ReturnsTheStoredTransitionWithItsFlag) {
  fsm_builder builder = testing::builder_from_log("", 2);
  const fsm_state x = st("x", 5), y = st("y");
  builder.transitions = machine_of({tr(x, y)});
  const fsm_transition t = find_or_make_transition(builder, x, y);
  *t.used = true;
  EXPECT_TRUE(*builder.transitions.begin()->used);
  EXPECT_EQ(builder.random.next(), 41);  // nothing drawn
}

TEST(FindOrMakeTransition, NewStateIdWrapsInSixteenBits) {
  fsm_builder builder = testing::builder_from_log("", 2);
  const fsm_transition t =
      find_or_make_transition(builder, st("x", 32767), st("y"));
  EXPECT_EQ(describe({t.from, t.to}), "x/32767 x/-32728");
  EXPECT_TRUE(*t.used);
}

TEST(MarkPathUsed, MarksStoredStepsSkipsMissingOnesAndReturnsTheSecondState) {
  const fsm_state a = st("a"), b = st("b"), c = st("c");
  const machine m = machine_of({tr(a, b)});
  EXPECT_EQ(describe({mark_path_used(m, {a, b, c})}), "b/0");
  EXPECT_EQ(describe(m), "a/0->b/0 used\n");
}

}  // namespace
}  // namespace logfsm
