// The machine queries as plain scans of the transition set in order: the
// obviously correct reference that the machine's indexes are checked
// against.
#ifndef LOGFSM_TESTS_SUPPORT_PLAIN_QUERIES_H_
#define LOGFSM_TESTS_SUPPORT_PLAIN_QUERIES_H_

#include <optional>
#include <vector>

#include "model/machine.h"

namespace logfsm::testing {

std::vector<fsm_transition> plain_incident_transitions(const machine& m,
                                                       const fsm_state& s);
std::vector<fsm_state> plain_states_with_event(const machine& m, const event_type& e);
std::optional<fsm_transition> plain_find_transition_to_event(const machine& m,
                                                             const fsm_state& from,
                                                             const event_type& e);

}  // namespace logfsm::testing

#endif  // LOGFSM_TESTS_SUPPORT_PLAIN_QUERIES_H_
