#include "model/fsm_transition.h"

#include <utility>

namespace logfsm {

fsm_transition::fsm_transition(fsm_state from, fsm_state to)
    : from(std::move(from)),
      to(std::move(to)),
      used(std::make_shared<bool>(false)) {}

}  // namespace logfsm
