// Pruning: after a window is followed, the k-state paths from its state that
// spell no observed window lose their first unused transition.
//
// A `pruner` holds what pruning keeps during one learning run: which states
// last pruned to nothing, the bound on listing paths, and the scratch its
// walks and path creation's walks reuse. Each learning run has its own (a
// pruner is used with one builder only), so runs on several threads share
// nothing.
#ifndef LOGFSM_INTEGRATION_PRUNING_H_
#define LOGFSM_INTEGRATION_PRUNING_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <variant>
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

// Paths whose pruning will change nothing (see pruner): not taken.
struct quiet_paths {};

// The unobserved paths from `origin` listed in enumeration order, as the
// stored transitions they step along (k - 1 each, one path after the
// other), which stay in place while the machine's stamp stands.
struct listed_paths {
  fsm_state origin;
  step_refs steps;
};

// The same paths after pending_paths::keep(): copies of their states but
// the start (k - 1 each), for pruning after the machine has changed.
struct kept_paths {
  fsm_state origin;
  std::vector<fsm_state> states;
};

// The k-state paths from a state that pruning will look at, taken before
// any change: listed while they are few, else the whole tree of them.
struct pending_paths {
  pending_paths() = default;
  pending_paths(pending_paths&&) = default;
  pending_paths& operator=(pending_paths&&) = default;
  // Move only: a copy of a tree or of a long list is never needed.
  pending_paths(const pending_paths&) = delete;
  pending_paths& operator=(const pending_paths&) = delete;

  // Turns listed paths into kept ones; the other kinds stay as they are.
  void keep();

  std::variant<quiet_paths, listed_paths, kept_paths, path_tree> paths;
  // The first path in enumeration order that spells the window asked for.
  std::optional<path> match;
  // The start's number and the machine's stamp when the paths were taken.
  std::uint32_t start = machine::kNoState;
  std::uint64_t stamp = 0;
};

class pruner {
 public:
  // The most paths from one state that take_paths lists one by one at k = 4;
  // beyond, it takes them as a tree (it lists them all at k = 3 and at most
  // 16 from k = 5 on). A tuning knob: the result is the same whatever the
  // bound; 0 asks for the tree always.
  static constexpr std::size_t kListedPathsBound = 1024;

  explicit pruner(std::size_t listed_paths_bound = kListedPathsBound)
      : listed_paths_bound_(listed_paths_bound) {}
  pruner(const pruner&) = delete;
  pruner& operator=(const pruner&) = delete;

  // The paths from `start`, and the first that spells `w` (none when `w`
  // does not have k events). Changes nothing in the builder. When the start
  // is quiet (its paths are those that last pruned to nothing) and the
  // machine will not change before the paths are pruned (`w` is empty, or a
  // path spells it, so window matching creates no path), only the match is
  // looked for.
  pending_paths take_paths(const fsm_builder& builder, const fsm_state& start,
                           const window& w);

  // Takes the paths one by one in enumeration order, as they were taken
  // (builder.transitions may have changed since, if the paths were kept).
  // For each whose names are not among the observed windows, its steps are
  // looked at in turn through find_or_make_transition (so a step no longer
  // stored is made again, drawing a number), and the first transition found
  // unused is chosen. After the sweep every chosen transition, once and in
  // transition order, is appended to `removed_transitions` and erased from
  // the machine. Used transitions are never removed. A tree is not listed:
  // its subtrees are decided at once where the result is provably the same.
  // When the sweep chooses and makes nothing, the start is noted quiet.
  void prune_unobserved_paths(fsm_builder& builder, const pending_paths& paths);

  // The scratch of path creation's walks between taking and pruning.
  walk_scratch& walks() { return walks_; }

 private:
  // A breadth-first search over state numbers: marks told apart by a
  // generation number, so that no search clears them, and two levels.
  struct reach_scratch {
    std::vector<std::uint32_t> marks;
    std::uint32_t generation = 0;
    std::vector<std::uint32_t> level, next_level;
  };

  // True when the paths from the state numbered n step along the same
  // stored transitions as at stamp `since`.
  bool paths_unchanged_since(const fsm_builder& builder, std::uint32_t n,
                             std::uint64_t since);

  std::size_t listed_paths_bound_;
  // quiet_at_[n]: a stamp of the machine at which pruning the paths from the
  // state numbered n chose and made nothing, so every unobserved path from
  // there was stored and used; 0 when there is none. While those paths step
  // along the same stored transitions (see machine::outgoing_changed),
  // pruning them again changes nothing: a `used` flag, once set, stays set.
  std::vector<std::uint64_t> quiet_at_;
  walk_scratch walks_;
  reach_scratch reach_;
  std::vector<std::uint32_t> node_of_;  // make_path_tree's table
};

}  // namespace logfsm

#endif  // LOGFSM_INTEGRATION_PRUNING_H_
