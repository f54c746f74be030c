#include "integration/take_over_state.h"

#include <gtest/gtest.h>

#include "support/fixtures.h"

namespace logfsm {
namespace {

using testing::describe;
using testing::machine_of;
using testing::st;
using testing::tr;

class TakeOverState : public ::testing::Test {
 protected:
  fsm_state x = st("x"), y = st("y"), p = st("p"), q = st("q"), s = st("s");
};

TEST_F(TakeOverState, WithOneEntryMovesTheContinuations) {
  machine m = machine_of({tr(p, x, true), tr(x, s, false)});
  take_over_state(m, x, y);
  EXPECT_EQ(describe(m), "p/0->x/0 used\ny/0->s/0 used\n");
}

TEST_F(TakeOverState, WithSeveralEntriesCopiesTheContinuations) {
  machine m = machine_of({tr(p, x), tr(q, x), tr(x, s)});
  take_over_state(m, x, y);
  EXPECT_EQ(describe(m), "p/0->x/0\nq/0->x/0\nx/0->s/0\ny/0->s/0 used\n");
}

TEST_F(TakeOverState, WithNoEntryKeepsTheContinuations) {
  machine m = machine_of({tr(x, s)});
  take_over_state(m, x, y);
  EXPECT_EQ(describe(m), "x/0->s/0\ny/0->s/0 used\n");
}

TEST_F(TakeOverState, ALoopBecomesATransitionToTheOldStateAndCountsAsEntry) {
  machine m = machine_of({tr(x, x)});
  take_over_state(m, x, y);
  EXPECT_EQ(describe(m), "y/0->x/0 used\n");
}

TEST_F(TakeOverState, KeepsTheFlagOfATransitionAlreadyStored) {
  machine m = machine_of({tr(p, x), tr(x, s), tr(y, s, false)});
  take_over_state(m, x, y);
  EXPECT_EQ(describe(m), "p/0->x/0\ny/0->s/0\n");
}

}  // namespace
}  // namespace logfsm
