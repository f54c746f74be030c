// Per-trace integration: walking one trace through the machine window by
// window, extending and pruning it, and marking where the trace ends.
#ifndef LOGFSM_INTEGRATION_INTEGRATE_TRACE_H_
#define LOGFSM_INTEGRATION_INTEGRATE_TRACE_H_

#include <cstdint>

#include "integration/pruning.h"
#include "model/fsm_builder.h"

namespace logfsm {

// Each maximal run of consecutive equally named events becomes one element,
// the run's last event: a a b b b a gives a b a.
trace collapse_repeats(trace t);

// Integrates trace `t` into builder.transitions: starts from the initial
// state along the start transition of t's first event (made, and marked
// used, when missing), matches every window of k events (one shorter window
// when the trace is shorter than k), then walks the tail and marks the state
// where the trace ends accepting, pruning with `pruning`. An empty trace
// changes nothing.
void integrate_trace(fsm_builder& builder, pruner& pruning, trace t);

// The tail walk after the last window: prunes from `current`, and moves
// along the first transition at `current` whose target is named like the next
// event, for at most k - 2 events after position `i`; then sets the
// `accepting` flag shared by `current`. Requires: p is non-empty.
void walk_tail(fsm_builder& builder, pruner& pruning, fsm_state& current, const trace& p,
               std::int64_t i);

}  // namespace logfsm

#endif  // LOGFSM_INTEGRATION_INTEGRATE_TRACE_H_
