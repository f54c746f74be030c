#include "model/machine.h"

#include <map>

namespace logfsm {

bool machine::insert(const fsm_transition& t) {
  return transitions_.insert(t).second;
}

bool machine::erase(const fsm_transition& t) {
  return transitions_.erase(t) > 0;
}

std::optional<fsm_transition> machine::find(const fsm_state& from,
                                            const fsm_state& to) const {
  const auto it = transitions_.find(fsm_transition(from, to));
  if (it == transitions_.end()) return std::nullopt;
  return *it;
}

std::vector<fsm_transition> machine::incident_transitions(
    const fsm_state& s) const {
  std::vector<fsm_transition> result;
  for (const fsm_transition& t : transitions_) {
    if (t.from == s || t.to == s) result.push_back(t);
  }
  return result;
}

std::vector<fsm_state> machine::states_with_event(const event_type& e) const {
  std::set<fsm_state, state_less> found;
  for (const fsm_transition& t : transitions_) {
    if (t.from.name() == e.name) found.insert(t.from);
    if (t.to.name() == e.name) found.insert(t.to);
  }
  return {found.begin(), found.end()};
}

std::optional<fsm_transition> machine::find_transition_to_event(
    const fsm_state& from, const event_type& e) const {
  for (const fsm_state& x : states_with_event(e)) {
    if (auto t = find(from, x)) return t;
  }
  return std::nullopt;
}

std::vector<state_summary> machine::states() const {
  std::map<fsm_state, bool, state_less> held;
  const auto add = [&held](const fsm_state& s) {
    auto [it, inserted] = held.emplace(s, *s.accepting);
    if (!inserted && *s.accepting) it->second = true;
  };
  for (const fsm_transition& t : transitions_) {
    add(t.from);
    add(t.to);
  }
  std::vector<state_summary> result;
  result.reserve(held.size());
  for (const auto& [state, accepting] : held) result.push_back({state, accepting});
  return result;
}

}  // namespace logfsm
