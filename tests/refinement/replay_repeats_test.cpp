#include "refinement/replay_repeats.h"

#include <gtest/gtest.h>

#include "support/fixtures.h"

namespace logfsm {
namespace {

using testing::describe;
using testing::machine_of;
using testing::st;
using testing::tr;

class ReplayRepeats : public ::testing::Test {
 protected:
  std::string replay(const std::string& log, std::initializer_list<fsm_transition> m) {
    fsm_builder builder = testing::builder_from_log(log, 2);
    builder.transitions = machine_of(m);
    replay_repeats(builder);
    return describe(builder.transitions);
  }
  fsm_state initial, a = st("a"), b = st("b"), a3 = st("a", 3);
};

TEST_F(ReplayRepeats, PutsAUsedSelfLoopWhereTheRepetitionStands) {
  EXPECT_EQ(replay("a;a;b;\n", {tr(initial, a, true), tr(a, b, true)}),
            "/-1->a/0 used\na/0->a/0 used\na/0->b/0 used\n");
  EXPECT_EQ(replay("a;b;b;b;\n", {tr(initial, a, true), tr(a, b, true)}),
            "/-1->a/0 used\na/0->b/0 used\nb/0->b/0 used\n");
}

TEST_F(ReplayRepeats, FollowsTheLowestStateOfEachEventNotTheIntegratedBranch) {
  EXPECT_EQ(replay("a;b;a;a;\n", {tr(initial, a3, true), tr(a3, b, true), tr(b, a, true),
                                  tr(b, a3, true)}),
            "/-1->a/3 used\na/0->a/0 used\na/3->b/0 used\nb/0->a/0 used\n"
            "b/0->a/3 used\n");
}

TEST_F(ReplayRepeats, StaysPutWhenNothingLeadsOn) {
  // No start transition for x: the repetition lands on the initial state.
  EXPECT_EQ(replay("x;x;\n", {tr(a, b, true)}), "/-1->/-1 used\na/0->b/0 used\n");
  // From a nothing leads to c, so the repetition of c lands on a.
  EXPECT_EQ(replay("a;c;c;\n", {tr(initial, a, true)}),
            "/-1->a/0 used\na/0->a/0 used\n");
}

TEST_F(ReplayRepeats, LeavesLogsWithoutRepetitionsAndEmptyTracesAlone) {
  EXPECT_EQ(replay("a;b;a;\n\nabc\n", {tr(initial, a), tr(a, b)}),
            "/-1->a/0\na/0->b/0\n");
}

TEST_F(ReplayRepeats, KeepsTheFlagOfASelfLoopAlreadyStored) {
  EXPECT_EQ(replay("a;a;\n", {tr(initial, a, true), tr(a, a, false)}),
            "/-1->a/0 used\na/0->a/0\n");
}

}  // namespace
}  // namespace logfsm
