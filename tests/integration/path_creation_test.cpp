#include "integration/path_creation.h"

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

class PathCreation : public ::testing::Test {
 protected:
  std::string extend(const window& w, const fsm_state& current) {
    return describe(extend_for_window(builder, scratch, w, current));
  }
  fsm_builder builder = testing::builder_from_log("", 2);
  walk_scratch scratch;
  fsm_state initial, A = st("A"), B = st("B"), P = st("P");
};

TEST_F(PathCreation, MakesANewStateWithADrawnIdWhenNoStateOfTheEventExists) {
  builder.transitions = machine_of({tr(initial, A, true), tr(A, B, true)});
  EXPECT_EQ(extend(events({"A", "E"}), A), "A/0 E/41");
  EXPECT_EQ(describe(builder.transitions),
            "/-1->A/0 used\nA/0->B/0 used\nA/0->E/41 used\n");
}

TEST_F(PathCreation, FollowsExistingTransitionsWithoutChecks) {
  builder.k = 3;
  const fsm_state B3 = st("B", 3), C = st("C");
  builder.transitions = machine_of({tr(A, B3), tr(A, B), tr(B, C)});
  // Step A->B takes the lowest B state; nothing is drawn or checked.
  EXPECT_EQ(extend(events({"A", "B", "C"}), A), "A/0 B/0 C/0");
  EXPECT_EQ(describe(builder.transitions), "A/0->B/0 used\nA/0->B/3\nB/0->C/0 used\n");
  EXPECT_EQ(builder.random.next(), 41);
}

TEST_F(PathCreation, NewStateIdIsBasedOnTheRemovedTransitionFound) {
  builder.removed_transitions.push_back(tr(st("A", 3), st("E", 9)));
  builder.transitions = machine_of({tr(initial, A, true)});
  EXPECT_EQ(extend(events({"A", "E"}), A), "A/0 E/50");
}

TEST_F(PathCreation, ConnectsToTheFirstExistingStateTheCheckAccepts) {
  builder.k = 3;
  const fsm_state E0 = st("E"), E5 = st("E", 5), Q = st("Q"), R = st("R");
  builder.transitions =
      machine_of({tr(P, A, true), tr(E0, Q, true), tr(E5, R, true)});
  observe(builder, {"P", "A", "E"});
  observe(builder, {"A", "E", "R"});
  // A->E/0 would spell A E Q, never observed; A->E/5 spells only observed
  // windows.
  EXPECT_EQ(extend(events({"A", "E"}), A), "A/0 E/5");
  EXPECT_EQ(describe(builder.transitions),
            "A/0->E/5 used\nE/0->Q/0 used\nE/5->R/0 used\nP/0->A/0 used\n");
  EXPECT_EQ(builder.random.next(), 41);
}

TEST_F(PathCreation, NewStateIsBasedOnTheLastRefusedState) {
  builder.k = 3;
  const fsm_state E5 = st("E", 5), R = st("R");
  builder.transitions = machine_of({tr(P, A, true), tr(E5, R, true)});
  observe(builder, {"P", "A", "E"});
  // A->E/5 spells A E R, refused; the new state E/46 is a dead end, and
  // P A E is observed.
  EXPECT_EQ(extend(events({"A", "E"}), A), "A/0 E/46");
}

TEST_F(PathCreation, SplitAtTheFirstPairConnectsTheInitialState) {
  builder.k = 3;
  builder.transitions = machine_of({tr(P, A, true)});
  // A->E/41 would spell P A E, never observed: A is split into A/134
  // (third draw) leading to E/67 (second draw).
  EXPECT_EQ(extend(events({"A", "E"}), A), "A/134 E/67");
  EXPECT_EQ(describe(builder.transitions),
            "/-1->A/134 used\nA/134->E/67 used\nP/0->A/0 used\n");
}

TEST_F(PathCreation, SplitHandsContinuationsOverAndKeepsStatesWithOtherEntries) {
  builder.k = 3;
  builder.transitions = machine_of({tr(initial, A, true), tr(A, B, true), tr(P, A, true)});
  EXPECT_EQ(extend(events({"A", "E"}), A), "A/134 E/67");
  // A/0 keeps A->B (it is still entered from P) and A/134 gets a copy.
  EXPECT_EQ(describe(builder.transitions),
            "/-1->A/134 used\nA/0->B/0 used\nA/134->B/0 used\nA/134->E/67 used\n"
            "P/0->A/0 used\n");
}

TEST_F(PathCreation, SplitTakesAStateWithOneEntryOutOfTheMachine) {
  builder.k = 3;
  const fsm_state A3 = st("A", 3), C = st("C");
  builder.transitions =
      machine_of({tr(initial, A3, true), tr(A3, C, true), tr(P, A, true)});
  EXPECT_EQ(extend(events({"A", "E"}), A), "A/134 E/67");
  EXPECT_EQ(describe(builder.transitions),
            "/-1->A/134 used\nA/134->C/0 used\nA/134->E/67 used\nP/0->A/0 used\n");
}

TEST_F(PathCreation, SplitInTheMiddleOfAWindowReplacesTheStateReached) {
  builder.k = 3;
  const fsm_state X = st("X");
  builder.transitions = machine_of({tr(X, A, true), tr(P, A, true)});
  observe(builder, {"X", "A", "E"});
  // X->A is followed; A->E/41 would spell P A E: A is split off into A/134,
  // which takes over from X (prev) and leads to E/67.
  EXPECT_EQ(extend(events({"X", "A", "E"}), X), "X/0 A/134 E/67");
  EXPECT_EQ(describe(builder.transitions),
            "A/134->E/67 used\nP/0->A/0 used\nX/0->A/134 used\n");
}

}  // namespace
}  // namespace logfsm
