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

namespace {

path copy_of(const state_refs& states) {
  path p;
  p.reserve(states.size());
  for (const fsm_state* s : states) p.push_back(*s);
  return p;
}

bool spells(const window& w, const state_refs& states) {
  if (w.size() != states.size()) return false;
  for (std::size_t j = 0; j < w.size(); ++j) {
    if (!same_event(w[j], states[j]->event)) return false;
  }
  return true;
}

}  // namespace

std::vector<path> unobserved_paths(const fsm_builder& builder, const fsm_state& start,
                                   const window& w, std::optional<path>& match) {
  std::vector<path> unobserved;
  window_view events(static_cast<std::size_t>(builder.k));
  for_each_path(
      builder.transitions, builder.k, start, direction::forward,
      [](const fsm_state&) { return false; },
      [&](const state_refs& states) {
        if (!match && spells(w, states)) match = copy_of(states);
        for (std::size_t j = 0; j < states.size(); ++j) events[j] = states[j]->event.get();
        if (!builder.observed_windows.contains(events)) unobserved.push_back(copy_of(states));
        return true;
      });
  return unobserved;
}

std::vector<path> unobserved_paths(const fsm_builder& builder, const fsm_state& start) {
  std::optional<path> unused;
  return unobserved_paths(builder, start, window(), unused);
}

void match_window(fsm_builder& builder, const window& w, fsm_state& current) {
  // Which paths the pruning looks at is decided before any change: those
  // whose names were never observed, the others it would pass over.
  std::optional<path> match;
  const std::vector<path> unobserved = unobserved_paths(builder, current, w, match);
  if (match) {
    current = mark_path_used(builder.transitions, *match);
  } else {
    const path created = extend_for_window(builder, w, current);
    current = created[1];
    mark_path_used(builder.transitions, created);
  }
  prune_unobserved_paths(builder, unobserved);
}

}  // namespace logfsm
