// Window matching: following a window of a trace through the machine, and
// pruning the paths whose event sequences never occur in the log.
#ifndef LOGFSM_INTEGRATION_WINDOW_MATCHING_H_
#define LOGFSM_INTEGRATION_WINDOW_MATCHING_H_

#include <optional>
#include <vector>

#include "integration/paths.h"
#include "model/fsm_builder.h"

namespace logfsm {

// Sets the `used` flag of every stored transition between neighbours of `p`
// (pairs not stored are skipped) and returns a copy of p[1].
// Requires: p holds at least two states.
fsm_state mark_path_used(const machine& transitions, const path& p);

// The stored transition from `a` to `b`. When there is none, draws the next
// value r and stores a used transition from `a` to a new state with a's event
// and the id a.id + r mod 200 (16-bit wrap), and returns it.
fsm_transition find_or_make_transition(fsm_builder& builder, const fsm_state& a,
                                       const fsm_state& b);

// For every path whose names are not among the observed windows: the first
// transition along it whose `used` flag is false is chosen; after the sweep
// every chosen transition, once and in transition order, is appended to
// `removed_transitions` and erased from the machine. Used transitions are
// never removed.
void prune_unobserved_paths(fsm_builder& builder, const std::vector<path>& paths);

// The k-state paths from `start`, in enumeration order, whose names are not
// among the observed windows (copies of their states). Sets `match`, when
// empty, to the first path that spells `w`. Changes nothing.
std::vector<path> unobserved_paths(const fsm_builder& builder, const fsm_state& start,
                                   const window& w, std::optional<path>& match);
std::vector<path> unobserved_paths(const fsm_builder& builder, const fsm_state& start);

// Follows window `w` (2 to k events; w[0] names `current`) from `current`:
// the first enumerated k-state path that spells w is marked used, or, when
// none does, path creation extends the machine and its path is marked used.
// `current` becomes the second state of that path. Then the paths enumerated
// before any change are pruned.
void match_window(fsm_builder& builder, const window& w, fsm_state& current);

}  // namespace logfsm

#endif  // LOGFSM_INTEGRATION_WINDOW_MATCHING_H_
