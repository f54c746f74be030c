// The machine a model file describes, so that it can be written again with
// write_json (shared by model_reader_fuzzer and tests/checking).
//
// Each model state becomes one state: its id is the number after the last
// '('; its event name is the track of the first transition into it, or, for
// a state no transition enters, the text before the last '(' with "s0"
// standing for the empty name. Accepting states get their flag set.
#ifndef LOGFSM_FUZZ_MODEL_MACHINE_H_
#define LOGFSM_FUZZ_MODEL_MACHINE_H_

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "checking/model_file.h"
#include "model/machine.h"

namespace logfsm::fuzzing {

// Requires: `model` as read_model gives it.
inline machine machine_of_model(const model_file& model) {
  std::vector<std::optional<std::string>> names(model.states.size());
  for (const model_transition& t : model.transitions) {
    if (!names[t.to]) names[t.to] = t.track;
  }
  std::vector<fsm_state> states;
  for (std::size_t i = 0; i < model.states.size(); ++i) {
    const std::string& text = model.states[i];
    const std::size_t open = text.rfind('(');
    std::int16_t id = 0;
    std::from_chars(text.data() + open + 1, text.data() + text.size() - 1, id);
    std::string name = names[i].value_or(text.substr(0, open));
    if (!names[i] && name == "s0") name.clear();
    states.emplace_back(id, make_event(std::move(name)));
  }
  for (const std::uint32_t s : model.accepting) *states[s].accepting = true;
  machine m;
  for (const model_transition& t : model.transitions) {
    m.insert(fsm_transition(states[t.from], states[t.to]));
  }
  return m;
}

}  // namespace logfsm::fuzzing

#endif  // LOGFSM_FUZZ_MODEL_MACHINE_H_
