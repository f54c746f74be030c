#include "model/fsm_transition.h"

#include <utility>

namespace logfsm {

fsm_transition::fsm_transition(fsm_state from, fsm_state to)
    : from(std::move(from)),
      to(std::move(to)),
      used(std::make_shared<bool>(false)) {}

bool transition_less::operator()(const fsm_transition& a,
                                 const fsm_transition& b) const {
  const state_less less;
  if (less(a.from, b.from)) return true;
  if (less(b.from, a.from)) return false;
  return less(a.to, b.to);
}

}  // namespace logfsm
