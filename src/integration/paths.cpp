#include "integration/paths.h"

namespace logfsm {

std::vector<path> enumerate_paths(const machine& transitions, std::int32_t k,
                                  const fsm_state& start, direction dir) {
  std::vector<path> paths;
  walk_stacks stacks;
  for_each_path(
      transitions, stacks, k, start, dir,
      [](const fsm_state&, std::size_t) { return false; },
      [&paths](const state_refs& states) {
        paths.push_back(copy_path(states));
        return true;
      });
  return paths;
}

path copy_path(const state_refs& states) {
  path p;
  p.reserve(states.size());
  for (const fsm_state* s : states) p.push_back(*s);
  return p;
}

bool same_events(const window& events, const path& p) {
  if (events.size() != p.size()) return false;
  for (std::size_t j = 0; j < events.size(); ++j) {
    if (!same_event(events[j], p[j].event)) return false;
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
