// Window matching: following a window of a trace through the machine, then
// pruning the paths from its state (integration/pruning).
#ifndef LOGFSM_INTEGRATION_WINDOW_MATCHING_H_
#define LOGFSM_INTEGRATION_WINDOW_MATCHING_H_

#include "integration/paths.h"
#include "integration/pruning.h"
#include "model/fsm_builder.h"

namespace logfsm {

// Sets the `used` flag of every stored transition between neighbours of `p`
// (pairs not stored are skipped) and returns a copy of p[1].
// Requires: p holds at least two states.
fsm_state mark_path_used(const machine& transitions, const path& p);

// Follows window `w` (2 to k events; w[0] names `current`) from `current`:
// the first enumerated k-state path that spells w is marked used, or, when
// none does, path creation extends the machine and its path is marked used.
// `current` becomes the second state of that path. Then the paths enumerated
// before any change are pruned, with `pruning`.
void match_window(fsm_builder& builder, pruner& pruning, const window& w,
                  fsm_state& current);

}  // namespace logfsm

#endif  // LOGFSM_INTEGRATION_WINDOW_MATCHING_H_
