#include "integration/window_matching.h"

#include <cassert>
#include <set>

#include "integration/path_creation.h"

namespace logfsm {

fsm_state mark_path_used(const machine& transitions, const path& p) {
  assert(p.size() >= 2);
  for (std::size_t j = 0; j + 1 < p.size(); ++j) {
    if (auto t = transitions.find(p[j], p[j + 1])) *t->used = true;
  }
  return p[1];
}

fsm_transition find_or_make_transition(fsm_builder& builder, const fsm_state& a,
                                       const fsm_state& b) {
  if (auto t = builder.transitions.find(a, b)) return *t;
  const int r = builder.random.next();
  fsm_transition made(a, fsm_state(offset_id(a.id, r), a.event));
  *made.used = true;
  builder.transitions.insert(made);
  return made;
}

void prune_unobserved_paths(fsm_builder& builder, const std::vector<path>& paths) {
  std::set<fsm_transition, transition_less> chosen;
  for (const path& u : paths) {
    if (builder.observed_windows.contains(path_events(u))) continue;
    for (std::size_t j = 0; j + 1 < u.size(); ++j) {
      fsm_transition t = find_or_make_transition(builder, u[j], u[j + 1]);
      if (!*t.used) {
        chosen.insert(t);
        break;
      }
    }
  }
  for (const fsm_transition& t : chosen) {
    builder.removed_transitions.push_back(t);
    builder.transitions.erase(t);
  }
}

void match_window(fsm_builder& builder, const window& w, fsm_state& current) {
  const std::vector<path> paths = enumerate_paths(
      builder.transitions, builder.k, current, direction::forward);
  const path* match = nullptr;
  for (const path& p : paths) {
    if (same_events(w, p)) {
      match = &p;
      break;
    }
  }
  if (match != nullptr) {
    current = mark_path_used(builder.transitions, *match);
  } else {
    const path created = extend_for_window(builder, w, current);
    current = created[1];
    mark_path_used(builder.transitions, created);
  }
  prune_unobserved_paths(builder, paths);
}

}  // namespace logfsm
