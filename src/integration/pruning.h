// Pruning: after a window is followed, the k-state paths from its state that
// spell no observed window lose their first unused transition.
#ifndef LOGFSM_INTEGRATION_PRUNING_H_
#define LOGFSM_INTEGRATION_PRUNING_H_

#include <optional>
#include <vector>

#include "integration/path_tree.h"
#include "integration/paths.h"
#include "model/fsm_builder.h"
#include "model/window.h"

namespace logfsm {

// The stored transition from `a` to `b`. When there is none, draws the next
// value r and stores a used transition from `a` to a new state with a's event
// and the id a.id + r mod 200 (16-bit wrap), and returns it.
fsm_transition find_or_make_transition(fsm_builder& builder, const fsm_state& a,
                                       const fsm_state& b);

// The k-state paths from a state that pruning will look at, taken before
// any change: the unobserved ones listed (copies, in enumeration order)
// while the paths are at most builder.listed_paths_bound, else the whole
// tree of them.
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

// Takes the paths one by one in enumeration order, as they were taken
// (builder.transitions may have changed since). For each whose names are not
// among the observed windows, its steps are looked at in turn through
// find_or_make_transition (so a step no longer stored is made again, drawing
// a number), and the first transition found unused is chosen. After the
// sweep every chosen transition, once and in transition order, is appended
// to `removed_transitions` and erased from the machine. Used transitions are
// never removed. A tree is not listed: its subtrees are decided at once
// where the result is provably the same.
void prune_unobserved_paths(fsm_builder& builder, const pending_paths& paths);

}  // namespace logfsm

#endif  // LOGFSM_INTEGRATION_PRUNING_H_
