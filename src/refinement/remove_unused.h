// The final cleanup of the learned machine.
#ifndef LOGFSM_REFINEMENT_REMOVE_UNUSED_H_
#define LOGFSM_REFINEMENT_REMOVE_UNUSED_H_

#include "model/fsm_builder.h"

namespace logfsm {

// Removes, in one sweep decided on the machine as it stands at the call,
// every transition whose `used` flag is false and every transition into a
// state that no transition leaves (a self-loop counts as leaving) and that is
// not accepting. A state is accepting when the flag of any copy of it held at
// a transition end is set. Does not repeat: a state left without outgoing
// transitions by the sweep keeps its incoming ones.
void remove_unused(fsm_builder& builder);

}  // namespace logfsm

#endif  // LOGFSM_REFINEMENT_REMOVE_UNUSED_H_
