// Window matching: following a window of a trace through the machine, and
// pruning the paths whose event sequences never occur in the log.
#ifndef LOGFSM_INTEGRATION_WINDOW_MATCHING_H_
#define LOGFSM_INTEGRATION_WINDOW_MATCHING_H_

#include <optional>
#include <vector>

#include "integration/path_tree.h"
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
// The same for every path of `tree`, in enumeration order, with the same
// result, without listing the paths.
void prune_unobserved_paths(fsm_builder& builder, const path_tree& tree);

// The k-state paths from a state that pruning will look at, taken before
// any change: the unobserved ones listed (copies, in enumeration order) when
// the paths are few, else the whole tree of them.
struct pending_paths {
  std::vector<path> unobserved;
  std::optional<path_tree> tree;
  // The first path in enumeration order that spells the window asked for.
  std::optional<path> match;
};

// The paths from `start`, and the first that spells `w` (none when `w` does
// not have k events). Changes nothing.
pending_paths take_paths(const fsm_builder& builder, const fsm_state& start,
                         const window& w);
void prune_unobserved_paths(fsm_builder& builder, const pending_paths& paths);

// Follows window `w` (2 to k events; w[0] names `current`) from `current`:
// the first enumerated k-state path that spells w is marked used, or, when
// none does, path creation extends the machine and its path is marked used.
// `current` becomes the second state of that path. Then the paths enumerated
// before any change are pruned.
void match_window(fsm_builder& builder, const window& w, fsm_state& current);

}  // namespace logfsm

#endif  // LOGFSM_INTEGRATION_WINDOW_MATCHING_H_
