#include "refinement/remove_unused.h"

#include <set>
#include <vector>

namespace logfsm {

void remove_unused(fsm_builder& builder) {
  machine& m = builder.transitions;
  std::set<fsm_transition, transition_less> removal;
  for (const fsm_transition& t : m) {
    if (!*t.used) removal.insert(t);
  }
  for (const state_summary& entry : m.states()) {
    const fsm_state& s = entry.state;
    const std::vector<fsm_transition> incident = m.incident_transitions(s);
    bool leaves = false;
    for (const fsm_transition& t : incident) leaves = leaves || t.from == s;
    if (!leaves && !entry.accepting) removal.insert(incident.begin(), incident.end());
  }
  for (const fsm_transition& t : removal) m.erase(t);
}

}  // namespace logfsm
