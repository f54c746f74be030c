#include "support/plain_queries.h"

#include <set>

namespace logfsm::testing {

std::vector<fsm_transition> plain_incident_transitions(const machine& m,
                                                       const fsm_state& s) {
  std::vector<fsm_transition> result;
  for (const fsm_transition& t : m) {
    if (t.from == s || t.to == s) result.push_back(t);
  }
  return result;
}

std::vector<fsm_state> plain_states_with_event(const machine& m, const event_type& e) {
  std::set<fsm_state, state_less> found;
  for (const fsm_transition& t : m) {
    if (t.from.name() == e.name) found.insert(t.from);
    if (t.to.name() == e.name) found.insert(t.to);
  }
  return {found.begin(), found.end()};
}

std::optional<fsm_transition> plain_find_transition_to_event(const machine& m,
                                                             const fsm_state& from,
                                                             const event_type& e) {
  for (const fsm_state& x : plain_states_with_event(m, e)) {
    for (const fsm_transition& t : m) {
      if (t.from == from && t.to == x) return t;
    }
  }
  return std::nullopt;
}

}  // namespace logfsm::testing
