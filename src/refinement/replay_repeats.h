// Restoring immediate repetitions as self-loops after integration.
#ifndef LOGFSM_REFINEMENT_REPLAY_REPEATS_H_
#define LOGFSM_REFINEMENT_REPLAY_REPEATS_H_

#include "model/fsm_builder.h"

namespace logfsm {

// Replays every trace as read (repetitions included) from the initial state,
// moving along find_transition_to_event by name and staying put when nothing
// is found; wherever an event follows an equally named one, stores a used
// self-loop on the state reached. Adds nothing else and removes nothing.
// Empty traces are skipped.
void replay_repeats(fsm_builder& builder);

}  // namespace logfsm

#endif  // LOGFSM_REFINEMENT_REPLAY_REPEATS_H_
