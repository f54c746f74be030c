// The machine a model file describes, so that it can be written again with
// write_json (shared by model_reader_fuzzer and tests/checking).
//
// A state is the name (as spelled) and id of a shape state, so texts that
// the writer spells alike ("a(7)", "a(07)"; "(0)", "s0(0)") are one state. Its event name is
// the track of the first transition into it, or, for a state no transition
// enters, its spelled name with "s0" standing for the empty name. Each state
// thus writes as a text of its own, which makes the written file read back
// into the same machine. Accepting states get their flag set.
#ifndef LOGFSM_FUZZ_MODEL_MACHINE_H_
#define LOGFSM_FUZZ_MODEL_MACHINE_H_

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "model/machine.h"
#include "model/machine_shape.h"

namespace logfsm::fuzzing {

// Requires: `shape` as read_model gives it.
inline machine machine_of_model(const machine_shape& shape) {
  using state_key = std::pair<std::string, std::int16_t>;
  const auto key_of = [&shape](std::uint32_t s) {
    return state_key(spelled_name(shape.states[s].name), shape.states[s].id);
  };
  std::map<state_key, fsm_state> states;
  const auto add = [&](std::uint32_t s, const std::string& name) {
    states.try_emplace(key_of(s), shape.states[s].id, make_event(name));
  };
  for (const shape_transition& t : shape.transitions) add(t.to, t.track);
  for (std::uint32_t s = 0; s < shape.states.size(); ++s) {
    add(s, shape.states[s].name == "s0" ? "" : shape.states[s].name);
  }
  for (const std::uint32_t s : shape.accepting) *states.at(key_of(s)).accepting = true;
  machine m;
  for (const shape_transition& t : shape.transitions) {
    m.insert(fsm_transition(states.at(key_of(t.from)), states.at(key_of(t.to))));
  }
  return m;
}

}  // namespace logfsm::fuzzing

#endif  // LOGFSM_FUZZ_MODEL_MACHINE_H_
