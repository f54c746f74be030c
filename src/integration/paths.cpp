#include "integration/paths.h"

#include <cassert>
#include <utility>

namespace logfsm {

std::vector<path> enumerate_paths(const machine& transitions, std::int32_t k,
                                  const fsm_state& start, direction dir) {
  assert(k >= 2);
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
    for (const fsm_transition& t : transitions.incident_transitions(x)) {
      if (t.is_self_loop()) continue;
      if (dir == direction::forward && t.from == x) {
        stack.emplace_back(t.to, depth + 1);
      } else if (dir == direction::backward && t.to == x) {
        stack.emplace_back(t.from, depth + 1);
      }
    }
  }
  return paths;
}

bool same_events(const window& events, const path& p) {
  if (events.size() != p.size()) return false;
  for (std::size_t j = 0; j < events.size(); ++j) {
    if (events[j]->name != p[j].name()) return false;
  }
  return true;
}

window path_events(const path& p) {
  window events;
  events.reserve(p.size());
  for (const fsm_state& s : p) events.push_back(s.event);
  return events;
}

}  // namespace logfsm
