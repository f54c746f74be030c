// The machine a model file describes, so that it can be written again with
// write_json (shared by model_reader_fuzzer and tests/checking).
//
// A state is the name and id of a shape state, so texts that the writer
// spells alike ("a(7)", "a(07)"; "(0)", "s0(0)") are one state. Each state
// thus writes as a text of its own, which makes the written file read back
// into the same machine. Accepting states get their flag set.
#ifndef LOGFSM_FUZZ_MODEL_MACHINE_H_
#define LOGFSM_FUZZ_MODEL_MACHINE_H_

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "model/machine.h"
#include "model/machine_shape.h"

namespace logfsm::fuzzing {

// Requires: `shape` as read_model gives it.
inline machine machine_of_model(const machine_shape& shape) {
  using state_key = std::pair<std::string, std::int16_t>;
  std::map<state_key, fsm_state> states;
  std::vector<const fsm_state*> of;
  for (const shape_state& s : shape.states) {
    of.push_back(&states.try_emplace({s.name, s.id}, s.id, make_event(s.name)).first->second);
  }
  for (const std::uint32_t s : shape.accepting) *of[s]->accepting = true;
  machine m;
  for (const shape_transition& t : shape.transitions) {
    m.insert(fsm_transition(*of[t.from], *of[t.to]));
  }
  return m;
}

}  // namespace logfsm::fuzzing

#endif  // LOGFSM_FUZZ_MODEL_MACHINE_H_
