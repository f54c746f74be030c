#include "support/plain_paths.h"

#include <algorithm>
#include <set>
#include <utility>

#include "integration/pruning.h"
#include "support/plain_queries.h"

namespace logfsm::testing {

std::vector<path> plain_enumerate_paths(const machine& m, std::int32_t k,
                                        const fsm_state& start, direction dir) {
  std::vector<path> paths;
  path prefix;
  std::vector<std::pair<fsm_state, std::int32_t>> stack;
  stack.emplace_back(start, 1);
  while (!stack.empty()) {
    auto [x, depth] = std::move(stack.back());
    stack.pop_back();
    while (static_cast<std::int64_t>(prefix.size()) >= depth) prefix.pop_back();
    prefix.push_back(x);
    if (depth == k) {
      paths.push_back(prefix);
      continue;
    }
    for (const fsm_transition& t : plain_incident_transitions(m, x)) {
      if (t.is_self_loop()) continue;
      if (dir == direction::forward && t.from == x) stack.emplace_back(t.to, depth + 1);
      if (dir == direction::backward && t.to == x) stack.emplace_back(t.from, depth + 1);
    }
  }
  return paths;
}

bool plain_creates_unseen_window(const fsm_builder& builder, const fsm_transition& t) {
  if (builder.k == 2) return false;
  const auto counted = [](const path& p, const fsm_state& second) {
    return p[1] == second && std::none_of(p.begin(), p.end(), is_initial_state);
  };
  const auto unseen = [&builder](const path& p) {
    return !builder.observed_windows.contains(path_events(p));
  };
  for (path p : plain_enumerate_paths(builder.transitions, builder.k, t.to,
                                      direction::backward)) {
    if (!counted(p, t.from)) continue;
    std::reverse(p.begin(), p.end());
    if (unseen(p)) return true;
  }
  for (const path& p : plain_enumerate_paths(builder.transitions, builder.k, t.from,
                                             direction::forward)) {
    if (counted(p, t.to) && unseen(p)) return true;
  }
  return false;
}

void plain_prune_unobserved_paths(fsm_builder& builder, const std::vector<path>& paths) {
  std::set<fsm_transition, transition_less> chosen;
  for (const path& u : paths) {
    if (builder.observed_windows.contains(path_events(u))) continue;
    for (std::size_t j = 0; j + 1 < u.size(); ++j) {
      const fsm_transition t = find_or_make_transition(builder, u[j], u[j + 1]);
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

}  // namespace logfsm::testing
