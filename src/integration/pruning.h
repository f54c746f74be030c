// Pruning: after a window is followed, the k-state paths from its state that
// spell no observed window lose their first unused transition.
#ifndef LOGFSM_INTEGRATION_PRUNING_H_
#define LOGFSM_INTEGRATION_PRUNING_H_

#include <cstdint>
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
// any change: the unobserved ones listed (in enumeration order) while the
// paths are at most builder.listed_paths_bound, else the whole tree of them.
//
// Listed paths start at `origin` and point to the stored transitions they
// step along, which stay in place while the machine's stamp stays `stamp`;
// keep() copies their states, for pruning after the machine has changed.
struct pending_paths {
  pending_paths() = default;
  pending_paths(pending_paths&&) = default;
  pending_paths& operator=(pending_paths&&) = default;
  // Copies would point into their original.
  pending_paths(const pending_paths&) = delete;
  pending_paths& operator=(const pending_paths&) = delete;

  // Copies the states of the listed paths.
  void keep();
  // The start of every listed path (a copy).
  std::optional<fsm_state> origin;
  // The listed paths' steps, k - 1 each, one path after the other; none
  // after keep().
  step_refs unobserved;
  // After keep(): the listed paths' states but the start, k - 1 each.
  std::vector<fsm_state> kept;
  std::optional<path_tree> tree;
  // The first path in enumeration order that spells the window asked for.
  std::optional<path> match;
  // The start's number and the machine's stamp when the paths were taken.
  std::uint32_t start = machine::kNoState;
  std::uint64_t stamp = 0;
  // True when pruning the paths will change nothing (see
  // fsm_builder::quiet_at); they are then not taken.
  bool quiet = false;
};

// The paths from `start`, and the first that spells `w` (none when `w` does
// not have k events). Changes nothing. When the start is quiet (its paths
// are those that last pruned to nothing) and the machine will not change
// before the paths are pruned (`w` is empty, or a path spells it, so window
// matching creates no path), only the match is looked for.
pending_paths take_paths(const fsm_builder& builder, const fsm_state& start,
                         const window& w);

// Takes the paths one by one in enumeration order, as they were taken
// (builder.transitions may have changed since, if the paths were kept). For each whose names are not
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
