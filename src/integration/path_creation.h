// Path creation: extending the machine so that a path spells a window that
// no existing path spells.
#ifndef LOGFSM_INTEGRATION_PATH_CREATION_H_
#define LOGFSM_INTEGRATION_PATH_CREATION_H_

#include "integration/paths.h"
#include "model/fsm_builder.h"

namespace logfsm {

// Walks window `w` pair by pair from `current` and returns the n = |w| states
// the window now follows, each entered through a used transition. At each
// pair (a, b) it follows the first transition from the state reached to a
// state named b; else tries, in state order, every stored state named b as a
// target (insert, check for unseen windows, erase when refused); else makes a
// new state of b with a drawn id; and when even that is refused, splits the
// state reached into a fresh copy a2 (taking over its continuations) leading
// to a fresh state b2. After a split at the first pair the result starts with
// a2 instead of `current`. The unseen-window checks walk with `scratch`.
// Requires: w holds 2 or more events, neighbours differ in name, and w[0]
// names `current`.
path extend_for_window(fsm_builder& builder, walk_scratch& scratch, const window& w,
                       const fsm_state& current);

}  // namespace logfsm

#endif  // LOGFSM_INTEGRATION_PATH_CREATION_H_
