#include "model/machine_shape.h"

#include <map>
#include <utility>

namespace logfsm {

machine_shape shape_of(const machine& m) {
  machine_shape shape;
  const std::vector<state_summary> states = m.states();
  shape.states.reserve(states.size() + 1);
  // The shape's number of every state of the machine, by its number there.
  // States are spelled alike only when one has the empty name and the
  // other is named s0; the map below sees just those.
  std::vector<std::uint32_t> number_of(m.state_count(), machine::kNoState);
  std::map<std::int16_t, std::uint32_t> spelled_s0;  // by id
  std::vector<bool> accepting;
  for (const state_summary& s : states) {
    std::uint32_t number = static_cast<std::uint32_t>(shape.states.size());
    const std::string_view name = spelled_name(s.state.name());
    bool fresh = true;
    if (name == "s0") {
      const auto [at, added] = spelled_s0.try_emplace(s.state.id, number);
      number = at->second;
      fresh = added;
    }
    if (fresh) {
      shape.states.push_back({std::string(name), s.state.id});
      accepting.push_back(false);
    }
    accepting[number] = accepting[number] || s.accepting;
    number_of[m.state_number(s.state)] = number;
  }
  for (std::uint32_t n = 0; n < accepting.size(); ++n) {
    if (accepting[n]) shape.accepting.push_back(n);
  }
  const auto initial = spelled_s0.find(-1);
  if (initial != spelled_s0.end()) {
    shape.initial.push_back(initial->second);
  } else {
    shape.initial.push_back(static_cast<std::uint32_t>(shape.states.size()));
    shape.states.push_back({"s0", -1});
  }
  shape.transitions.reserve(m.size());
  for (const fsm_transition& t : m) {
    shape.transitions.push_back({number_of[m.state_number(t.from)],
                                 number_of[m.state_number(t.to)], t.to.name()});
  }
  return shape;
}

}  // namespace logfsm
