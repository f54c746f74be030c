#include "integration/integrate_trace.h"

#include <algorithm>
#include <cassert>
#include <utility>

#include "integration/paths.h"
#include "integration/window_matching.h"

namespace logfsm {

trace collapse_repeats(trace t) {
  trace result;
  const std::size_t m = t.size();
  std::size_t i = 0;
  while (i < m) {
    while (i + 1 < m && t[i + 1]->name == t[i]->name) ++i;
    result.push_back(std::move(t[i]));
    ++i;
  }
  return result;
}

namespace {

// The state reached by the start transition for `first`: found, or made with
// id 0; either way the stored start transition is marked used.
fsm_state start_state(fsm_builder& builder, const event_ptr& first) {
  const fsm_state initial;
  std::optional<fsm_transition> found =
      builder.transitions.find_transition_to_event(initial, *first);
  fsm_transition start =
      found ? *found : fsm_transition(initial, fsm_state(0, first));
  *start.used = true;
  builder.transitions.insert(start);
  return start.to;
}

}  // namespace

void integrate_trace(fsm_builder& builder, pruner& pruning, trace t) {
  const trace p = collapse_repeats(std::move(t));
  if (p.empty()) return;
  const auto n = static_cast<std::int64_t>(p.size());
  const std::int64_t k = builder.k;
  fsm_state current = start_state(builder, p[0]);
  std::int64_t i = 0;
  while (true) {
    const std::int64_t end = std::min<std::int64_t>(i + k, n);
    const window w(p.begin() + i, p.begin() + end);
    if (w.size() >= 2) match_window(builder, pruning, w, current);
    ++i;
    if (static_cast<std::int64_t>(w.size()) < k) break;
    if (i > n - k) break;
  }
  walk_tail(builder, pruning, current, p, i);
}

void walk_tail(fsm_builder& builder, pruner& pruning, fsm_state& current, const trace& p,
               std::int64_t i) {
  assert(!p.empty());
  const auto n = static_cast<std::int64_t>(p.size());
  for (std::int32_t b = 0;; ++b) {
    pruning.prune_unobserved_paths(builder,
                                   pruning.take_paths(builder, current, window()));
    const std::int64_t next = i + 1 + b;
    if (next >= n || b == builder.k - 2) {
      *current.accepting = true;
      return;
    }
    const std::string& x = p[static_cast<std::size_t>(next)]->name;
    for (const fsm_transition& t :
         builder.transitions.incident_transitions(current)) {
      if (t.to.name() == x) {
        current = t.to;
        break;
      }
    }
  }
}

}  // namespace logfsm
