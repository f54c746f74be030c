// Handing the continuations of one state to another, used by the split in
// path creation.
#ifndef LOGFSM_INTEGRATION_TAKE_OVER_STATE_H_
#define LOGFSM_INTEGRATION_TAKE_OVER_STATE_H_

#include "model/machine.h"

namespace logfsm {

// For every transition leaving `x` (a loop on x included, which becomes a
// transition from y to x), stores a used transition from `y` to the same
// target; an equal stored transition stays unchanged. When exactly one
// transition enters `x` (a loop counts), the transitions leaving `x` are then
// erased, so that erasing that one incoming transition takes x out of the
// machine; otherwise x keeps them.
void take_over_state(machine& transitions, const fsm_state& x, const fsm_state& y);

}  // namespace logfsm

#endif  // LOGFSM_INTEGRATION_TAKE_OVER_STATE_H_
