// The check that keeps path creation from making the machine spell event
// sequences that never occur in the log.
#ifndef LOGFSM_INTEGRATION_UNSEEN_WINDOW_H_
#define LOGFSM_INTEGRATION_UNSEEN_WINDOW_H_

#include "integration/paths.h"
#include "model/fsm_builder.h"
#include "model/fsm_transition.h"

namespace logfsm {

// True when some k-state path that has `t` as its first or its last step,
// and that does not pass through the initial state, spells a name sequence
// that is not among the observed windows. Always false for k = 2. Changes
// nothing but `scratch`, which its walks reuse. Requires: t is stored in the
// machine. Cost: the paths through t, up to the first unobserved one.
bool creates_unseen_window(const fsm_builder& builder, walk_scratch& scratch,
                           const fsm_transition& t);

// True when some (k - 1)-state backward path from `from` that does not pass
// through the initial state, followed by an event named like `to`, spells an
// unobserved window; false for k = 2 and when `from` is the initial state.
// Adding a transition only adds paths, so when this is true,
// creates_unseen_window refuses every transition from `from` to a state
// named like `to` that is neither `from` nor the initial state, whether or
// not it is stored yet. Changes nothing but `scratch`.
// Cost: the backward paths from `from`, up to the first unobserved one.
bool ends_unseen_window(const fsm_builder& builder, walk_scratch& scratch,
                        const fsm_state& from, const event_type& to);

}  // namespace logfsm

#endif  // LOGFSM_INTEGRATION_UNSEEN_WINDOW_H_
