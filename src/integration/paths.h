// Paths of the machine: sequences of k states along stored transitions.
#ifndef LOGFSM_INTEGRATION_PATHS_H_
#define LOGFSM_INTEGRATION_PATHS_H_

#include <cstdint>
#include <vector>

#include "model/fsm_state.h"
#include "model/machine.h"
#include "model/window.h"

namespace logfsm {

// A path: its first state is the start state; every two neighbours are the
// ends of a stored transition (in reverse for a backward path). The states
// are copies of stored states and share their events and flags.
using path = std::vector<fsm_state>;

enum class direction { forward, backward };

// Every path of exactly `k` states from `start`, stepping along transitions
// forward (to their `to`) or backward (to their `from`), never along a
// self-loop; states may repeat otherwise. Depth-first with an explicit stack:
// the successors of a state are pushed in incident_transitions order and
// taken back in reverse, so the successor pushed last yields its paths first.
// Cost: one scan of the machine per state expanded; the number of paths grows
// with the out-degree to the power k - 1.
std::vector<path> enumerate_paths(const machine& transitions, std::int32_t k,
                                  const fsm_state& start, direction dir);

// True when `events` and `p` have the same length and equal names at every
// position.
bool same_events(const window& events, const path& p);

// The event names of a path's states, as a window of their event objects.
window path_events(const path& p);

}  // namespace logfsm

#endif  // LOGFSM_INTEGRATION_PATHS_H_
