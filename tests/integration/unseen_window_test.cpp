#include "integration/unseen_window.h"

#include <gtest/gtest.h>

#include "support/fixtures.h"

namespace logfsm {
namespace {

using testing::machine_of;
using testing::observe;
using testing::st;
using testing::tr;

class UnseenWindow : public ::testing::Test {
 protected:
  // A -> B -> E is stored; the transition B -> F has just been inserted.
  void SetUp() override {
    builder.transitions = machine_of({tr(A, B), tr(B, E), t});
  }
  bool refused(const fsm_transition& u) {
    return creates_unseen_window(builder, scratch, u);
  }
  fsm_builder builder = testing::builder_from_log("", 3);
  walk_scratch scratch;
  fsm_state A = st("A"), B = st("B"), E = st("E"), F = st("F");
  fsm_transition t = tr(B, F);
};

TEST_F(UnseenWindow, RefusesATransitionEndingAnUnobservedPath) {
  EXPECT_TRUE(refused(t));
  observe(builder, {"A", "B", "F"});
  EXPECT_FALSE(refused(t));
}

TEST_F(UnseenWindow, ChecksPathsStartingWithTheTransition) {
  const fsm_state G = st("G");
  builder.transitions.insert(tr(F, G));
  observe(builder, {"A", "B", "F"});
  EXPECT_TRUE(refused(t));
  observe(builder, {"B", "F", "G"});
  EXPECT_FALSE(refused(t));
}

TEST_F(UnseenWindow, IgnoresPathsThatPassTheTransitionInTheirMiddle) {
  const fsm_state X = st("X");
  builder.transitions.insert(tr(X, A));
  observe(builder, {"A", "B", "F"});
  // X A B F would be unobserved at k = 4, but at k = 3 t is neither first
  // nor last step of X A B.
  EXPECT_FALSE(refused(t));
}

TEST_F(UnseenWindow, NeverRefusesAtKTwo) {
  builder.k = 2;
  EXPECT_FALSE(refused(t));
}

TEST_F(UnseenWindow, NeverRefusesASelfLoop) {
  const fsm_transition loop = tr(B, B);
  builder.transitions.insert(loop);
  EXPECT_FALSE(refused(loop));
}

TEST_F(UnseenWindow, PathsThroughTheInitialStateAreNotExamined) {
  const fsm_transition start = tr(fsm_state(), A);
  builder.transitions.insert(start);
  // Only A B F and A B E would be unobserved; none starts or ends with start.
  EXPECT_FALSE(refused(start));
  builder.transitions.erase(tr(A, B));
  const fsm_transition into_b = tr(fsm_state(), B);
  builder.transitions.insert(into_b);
  EXPECT_FALSE(refused(into_b));
}

TEST_F(UnseenWindow, DeadEndsOnBothSidesGiveNoPath) {
  const fsm_transition lone = tr(st("P"), st("Q"));
  builder.transitions.insert(lone);
  EXPECT_FALSE(refused(lone));
}

}  // namespace
}  // namespace logfsm
