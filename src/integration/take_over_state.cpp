#include "integration/take_over_state.h"

#include <vector>

namespace logfsm {

void take_over_state(machine& transitions, const fsm_state& x,
                     const fsm_state& y) {
  const std::vector<fsm_transition> snapshot = transitions.incident_transitions(x);
  int incoming = 0;
  for (const fsm_transition& t : snapshot) {
    if (t.from == x) {
      fsm_transition moved(y, t.to);
      *moved.used = true;
      transitions.insert(moved);
    }
    if (t.to == x) ++incoming;
  }
  if (incoming != 1) return;
  for (const fsm_transition& t : snapshot) {
    if (t.from == x) transitions.erase(t);
  }
}

}  // namespace logfsm
