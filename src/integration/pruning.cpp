#include "integration/pruning.h"

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "integration/tree_pruner.h"

namespace logfsm {

fsm_transition find_or_make_transition(fsm_builder& builder, const fsm_state& a,
                                       const fsm_state& b) {
  if (auto t = builder.transitions.find(a, b)) return *t;
  const int r = builder.random.next();
  fsm_transition made(a, fsm_state(offset_id(a.id, r), a.event));
  *made.used = true;
  builder.transitions.insert(made);
  return made;
}

namespace {

void remove_chosen(fsm_builder& builder,
                   const std::set<fsm_transition, transition_less>& chosen) {
  for (const fsm_transition& t : chosen) {
    builder.removed_transitions.push_back(t);
    builder.transitions.erase(t);
  }
}

using chosen_set = std::set<fsm_transition, transition_less>;

// The transitions the sweep chooses along listed paths, one path after the
// other. The machine is as it was when the paths were taken: every step is
// the stored transition between its ends, and nothing is made.
chosen_set choose(fsm_builder& builder, const listed_paths& listed, std::uint64_t stamp) {
  assert(builder.transitions.stamp() == stamp || listed.steps.empty());
  (void)stamp;
  chosen_set chosen;
  const auto steps = static_cast<std::size_t>(builder.k - 1);
  const step_refs& all = listed.steps;
  for (std::size_t first = 0; first < all.size(); first += steps) {
    for (std::size_t j = first; j < first + steps; ++j) {
      if (!*all[j]->used) {
        chosen.insert(*all[j]);
        break;
      }
    }
  }
  return chosen;
}

// The same along kept paths, whose steps may be gone: such a step is made
// again, used.
chosen_set choose(fsm_builder& builder, const kept_paths& kept, std::uint64_t) {
  chosen_set chosen;
  const auto steps = static_cast<std::size_t>(builder.k - 1);
  const std::vector<fsm_state>& states = kept.states;
  for (std::size_t first = 0; first < states.size(); first += steps) {
    for (std::size_t j = first; j < first + steps; ++j) {
      const fsm_state& from = j == first ? kept.origin : states[j - 1];
      const fsm_transition* t = builder.transitions.find_stored(from, states[j]);
      if (t == nullptr) {
        find_or_make_transition(builder, from, states[j]);  // made used
      } else if (!*t->used) {
        chosen.insert(*t);
        break;
      }
    }
  }
  return chosen;
}

chosen_set choose(fsm_builder& builder, const path_tree& tree, std::uint64_t) {
  return choose_in_tree(builder, tree);
}

chosen_set choose(fsm_builder&, const quiet_paths&, std::uint64_t) { return {}; }

// The first path from `start` in enumeration order that spells `w`: the
// walk enters only states named as the window goes on, which keeps the
// order of the paths it visits.
std::optional<path> first_listed_spelling(const fsm_builder& builder, walk_stacks& stacks,
                                          const fsm_state& start, const window& w) {
  std::optional<path> match;
  if (w.size() != static_cast<std::size_t>(builder.k) || !same_event(w[0], start.event)) {
    return match;
  }
  for_each_path(
      builder.transitions, stacks, builder.k, start, direction::forward,
      [&w](const fsm_state& s, std::size_t i) { return !same_event(w[i], s.event); },
      [&match](const state_refs& states) {
        match = copy_path(states);
        return false;
      });
  return match;
}

}  // namespace

// True when the k-state paths from the state numbered `n` step along the
// same stored transitions as at stamp `since`: the outgoing transitions of
// every state within k - 2 steps of it are unchanged since (by induction
// from n, those states are then the same ones too).
bool pruner::paths_unchanged_since(const fsm_builder& builder, std::uint32_t n,
                                   std::uint64_t since) {
  const machine& m = builder.transitions;
  if (since == 0 || since < m.replaced()) return false;
  if (since == m.stamp()) return true;
  // Breadth first, each state once (at its least depth).
  reach_scratch& r = reach_;
  if (++r.generation == 0) {
    r.marks.assign(r.marks.size(), 0);
    r.generation = 1;
  }
  if (r.marks.size() < m.state_count()) r.marks.resize(m.state_count(), 0);
  r.level.assign(1, n);
  r.marks[n] = r.generation;
  const auto deepest = static_cast<std::size_t>(builder.k - 2);
  for (std::size_t depth = 0;; ++depth) {
    r.next_level.clear();
    for (const std::uint32_t x : r.level) {
      if (m.outgoing_changed(x) > since) return false;
      if (depth == deepest) continue;
      for (auto t = m.outgoing_of(x).begin(), end = m.outgoing_of(x).end(); t != end; ++t) {
        const std::uint32_t y = t.other_number();
        if (r.marks[y] == r.generation) continue;
        r.marks[y] = r.generation;
        r.next_level.push_back(y);
      }
    }
    if (r.next_level.empty() || depth == deepest) return true;
    r.level.swap(r.next_level);
  }
}

pending_paths pruner::take_paths(const fsm_builder& builder, const fsm_state& start,
                                 const window& w) {
  const std::uint32_t number = builder.transitions.state_number(start);
  const std::uint64_t stamp = builder.transitions.stamp();
  if (number < quiet_at_.size() &&
      paths_unchanged_since(builder, number, quiet_at_[number])) {
    pending_paths quiet;
    quiet.start = number;
    quiet.stamp = stamp;
    if (w.empty()) return quiet;
    quiet.match = first_listed_spelling(builder, walks_.stacks, start, w);
    if (quiet.match) return quiet;
  }
  // Listing is cheapest while the paths are few; past a bound their number
  // may grow exponentially with k, and the tree takes over. At k = 3 the
  // tree has an edge for every path and one more for each successor of the
  // start, so the paths are listed whatever their number; from k = 5 on they
  // multiply so fast that listing many before giving up costs more than the
  // tree, so at most 16 are listed. A bound of 0 asks for the tree always.
  pending_paths taken;
  taken.start = number;
  taken.stamp = stamp;
  std::size_t bound = listed_paths_bound_;
  if (bound > 0 && builder.k <= 3) bound = SIZE_MAX;
  if (builder.k >= 5) bound = std::min<std::size_t>(bound, 16);
  std::size_t seen = 0;
  const window_set& observed = builder.observed_windows;
  // names[i]: where the names of the path's first i + 1 states stand among
  // the observed windows, kept as the walk goes.
  std::vector<window_set::position>& names = walks_.names;
  names.assign(static_cast<std::size_t>(builder.k), window_set::kNone);
  names[0] = observed.next(window_set::kRoot, *start.event);
  // spells[i]: whether the path's first i + 1 states spell the start of `w`.
  std::vector<char>& spells = walks_.spells;
  spells.assign(static_cast<std::size_t>(builder.k), 0);
  const bool whole_window = w.size() == static_cast<std::size_t>(builder.k);
  spells[0] = whole_window && same_event(w[0], start.event);
  listed_paths& listed = taken.paths.emplace<listed_paths>(listed_paths{start, {}});
  listed.steps.reserve(8 * static_cast<std::size_t>(builder.k - 1));
  const bool all_listed = for_each_path_with_steps(
      builder.transitions, walks_.stacks, builder.k, start, direction::forward,
      [&](const fsm_state& s, std::size_t i) {
        names[i] = observed.next(names[i - 1], *s.event);
        spells[i] = spells[i - 1] && same_event(w[i], s.event);
        return false;
      },
      [&](const state_refs& states, const step_refs& steps) {
        if (++seen > bound) return false;
        if (!taken.match && spells.back()) taken.match = copy_path(states);
        if (!observed.ends_window(names.back())) {
          listed.steps.insert(listed.steps.end(), steps.begin(), steps.end());
        }
        return true;
      });
  if (!all_listed) {
    path_tree tree = make_path_tree(builder.transitions, builder.k, start, node_of_);
    taken.match = first_path_spelling(tree, w);
    taken.paths = std::move(tree);
  }
  return taken;
}

void pending_paths::keep() {
  listed_paths* listed = std::get_if<listed_paths>(&paths);
  if (listed == nullptr) return;
  kept_paths kept{listed->origin, {}};
  kept.states.reserve(listed->steps.size());
  for (const fsm_transition* t : listed->steps) kept.states.push_back(t->to);
  paths = std::move(kept);
}

void pruner::prune_unobserved_paths(fsm_builder& builder, const pending_paths& paths) {
  if (std::holds_alternative<quiet_paths>(paths.paths)) return;
  remove_chosen(
      builder,
      std::visit([&](const auto& taken) { return choose(builder, taken, paths.stamp); },
                 paths.paths));
  // The stamp stays only when nothing changed since the paths were taken:
  // nothing was chosen or made.
  if (paths.start == machine::kNoState || paths.stamp == 0 ||
      builder.transitions.stamp() != paths.stamp) {
    return;
  }
  if (quiet_at_.size() <= paths.start) quiet_at_.resize(paths.start + 1, 0);
  quiet_at_[paths.start] = paths.stamp;
}

}  // namespace logfsm
