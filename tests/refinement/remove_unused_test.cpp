#include "refinement/remove_unused.h"

#include <gtest/gtest.h>

#include "support/fixtures.h"

namespace logfsm {
namespace {

using testing::describe;
using testing::machine_of;
using testing::st;
using testing::tr;

class RemoveUnused : public ::testing::Test {
 protected:
  std::string clean(std::initializer_list<fsm_transition> m) {
    builder.transitions = machine_of(m);
    remove_unused(builder);
    return describe(builder.transitions);
  }
  static fsm_state accepting(fsm_state s) {
    *s.accepting = true;
    return s;
  }
  fsm_builder builder = testing::builder_from_log("", 2);
  fsm_state initial, a = st("a"), b = st("b"), c = st("c");
};

TEST_F(RemoveUnused, KeepsAMachineOfUsedTransitionsWithoutDeadEnds) {
  EXPECT_EQ(clean({tr(initial, a, true), tr(a, accepting(st("b")), true)}),
            "/-1->a/0 used\na/0->b/0 used\n");
}

TEST_F(RemoveUnused, RemovesUnusedTransitionsEvenTheOnlyOnesOfAState) {
  EXPECT_EQ(clean({tr(initial, accepting(st("a")), true), tr(a, accepting(st("b")))}),
            "/-1->a/0 used\n");
}

TEST_F(RemoveUnused, RemovesEveryTransitionIntoANonAcceptingDeadEnd) {
  EXPECT_EQ(clean({tr(initial, accepting(st("a")), true), tr(a, b, true),
                   tr(st("x"), b, true)}),
            "/-1->a/0 used\n");
}

TEST_F(RemoveUnused, KeepsADeadEndWhenAnyCopyOfItIsAccepting) {
  // The copy met first (in a->b) is not accepting; the one in x->b is.
  EXPECT_EQ(clean({tr(initial, accepting(st("a")), true), tr(a, b, true),
                   tr(st("x"), accepting(st("b")), true)}),
            "/-1->a/0 used\na/0->b/0 used\nx/0->b/0 used\n");
}

TEST_F(RemoveUnused, ASelfLoopLeavesItsState) {
  EXPECT_EQ(clean({tr(initial, a, true), tr(a, a, true)}),
            "/-1->a/0 used\na/0->a/0 used\n");
}

TEST_F(RemoveUnused, DecidesOnceOnTheMachineAsItStood) {
  // b's only way out is unused: it goes, but b was no dead end when the
  // sweep decided, so a->b stays.
  EXPECT_EQ(clean({tr(initial, a, true), tr(a, b, true), tr(b, c, false)}),
            "/-1->a/0 used\na/0->b/0 used\n");
}

TEST_F(RemoveUnused, EveryStoredTransitionIsUsedAfterwards) {
  clean({tr(initial, a), tr(a, b, true), tr(b, c), tr(c, accepting(st("a")), true)});
  for (const fsm_transition& t : builder.transitions) EXPECT_TRUE(*t.used);
}

}  // namespace
}  // namespace logfsm
