#include "model/fsm_transition.h"

#include <utility>

namespace logfsm {

fsm_transition::fsm_transition(fsm_state from, fsm_state to)
    : from(std::move(from)),
      to(std::move(to)),
      used(std::make_shared<bool>(false)) {}

namespace {

bool ends_less(const fsm_state& a_from, const fsm_state& a_to, const fsm_state& b_from,
               const fsm_state& b_to) {
  const state_less less;
  if (less(a_from, b_from)) return true;
  if (less(b_from, a_from)) return false;
  return less(a_to, b_to);
}

}  // namespace

bool transition_less::operator()(const fsm_transition& a,
                                 const fsm_transition& b) const {
  return ends_less(a.from, a.to, b.from, b.to);
}

bool transition_less::operator()(const fsm_transition& a,
                                 const transition_key& b) const {
  return ends_less(a.from, a.to, b.from, b.to);
}

bool transition_less::operator()(const transition_key& a,
                                 const fsm_transition& b) const {
  return ends_less(a.from, a.to, b.from, b.to);
}

bool transition_less::operator()(const fsm_transition& a, const outgoing_key& b) const {
  return state_less()(a.from, b.from);
}

bool transition_less::operator()(const outgoing_key& a, const fsm_transition& b) const {
  return !state_less()(b.from, a.from);
}

}  // namespace logfsm
