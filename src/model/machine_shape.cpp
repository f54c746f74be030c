#include "model/machine_shape.h"

#include <algorithm>

namespace logfsm {

machine_shape shape_of(const machine& m) {
  machine_shape shape;
  const std::vector<state_summary> states = m.states();
  shape.states.reserve(states.size() + 1);
  std::uint32_t initial = machine::kNoState;
  for (const state_summary& s : states) {
    const auto number = static_cast<std::uint32_t>(shape.states.size());
    if (is_initial_state(s.state)) initial = number;
    if (s.accepting) shape.accepting.push_back(number);
    shape.states.push_back({s.state.name(), s.state.id});
  }
  if (initial == machine::kNoState) {
    initial = static_cast<std::uint32_t>(shape.states.size());
    shape.states.push_back({"", -1});
  }
  shape.initial.push_back(initial);
  // The machine numbers its states in order of appearance; the shape in
  // state order, as listed above.
  std::vector<std::uint32_t> number_of(m.state_count(), machine::kNoState);
  for (std::uint32_t n = 0; n < states.size(); ++n) {
    number_of[m.state_number(states[n].state)] = n;
  }
  shape.transitions.reserve(m.size());
  for (const fsm_transition& t : m) {
    shape.transitions.push_back(
        {number_of[m.state_number(t.from)], number_of[m.state_number(t.to)]});
  }
  return shape;
}

}  // namespace logfsm
