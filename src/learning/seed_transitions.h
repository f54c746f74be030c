// The first machine, made from the successor pairs.
#ifndef LOGFSM_LEARNING_SEED_TRANSITIONS_H_
#define LOGFSM_LEARNING_SEED_TRANSITIONS_H_

#include "model/fsm_builder.h"

namespace logfsm {

// Stores, for every successor pair (a, b) in pair order, an unused transition
// from a new state (id 0, a's event) to a new state (id 0, b's event). No two
// transitions share a state object, so their `accepting` flags are separate.
void seed_transitions(fsm_builder& builder);

}  // namespace logfsm

#endif  // LOGFSM_LEARNING_SEED_TRANSITIONS_H_
