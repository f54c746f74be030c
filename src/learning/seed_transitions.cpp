#include "learning/seed_transitions.h"

namespace logfsm {

void seed_transitions(fsm_builder& builder) {
  for (const auto& [a, b] : builder.successor_pairs) {
    builder.transitions.insert(fsm_transition(fsm_state(0, a), fsm_state(0, b)));
  }
}

}  // namespace logfsm
