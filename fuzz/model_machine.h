// The machine a model file describes, so that it can be written again with
// write_json (shared by model_reader_fuzzer and tests/checking).
//
// A state is the name before the last '(' of a model state (an empty one
// taken as "s0", the writer's spelling of the empty name) and the id after
// it, so texts that the writer spells alike ("a(7)", "a(07)"; "(0)", "s0(0)")
// are one state. Its event name is the track of the first transition into it, or, for a
// state no transition enters, the name before the '(' with "s0" standing for
// the empty name. Each state thus writes as a text of its own, which makes
// the written file read back into the same machine. Accepting states get
// their flag set.
#ifndef LOGFSM_FUZZ_MODEL_MACHINE_H_
#define LOGFSM_FUZZ_MODEL_MACHINE_H_

#include <charconv>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "checking/model_file.h"
#include "model/machine.h"

namespace logfsm::fuzzing {

// Requires: `model` as read_model gives it.
inline machine machine_of_model(const model_file& model) {
  using state_key = std::pair<std::string, std::int16_t>;
  std::vector<state_key> keys;
  for (const std::string& text : model.states) {
    const std::size_t open = text.rfind('(');
    std::int16_t id = 0;
    std::from_chars(text.data() + open + 1, text.data() + text.size() - 1, id);
    keys.emplace_back(open == 0 ? "s0" : text.substr(0, open), id);
  }
  std::map<state_key, fsm_state> states;
  const auto add = [&states](const state_key& key, const std::string& name) {
    states.try_emplace(key, key.second, make_event(name));
  };
  for (const model_transition& t : model.transitions) add(keys[t.to], t.track);
  for (const state_key& key : keys) add(key, key.first == "s0" ? "" : key.first);
  for (const std::uint32_t s : model.accepting) *states.at(keys[s]).accepting = true;
  machine m;
  for (const model_transition& t : model.transitions) {
    m.insert(fsm_transition(states.at(keys[t.from]), states.at(keys[t.to])));
  }
  return m;
}

}  // namespace logfsm::fuzzing

#endif  // LOGFSM_FUZZ_MODEL_MACHINE_H_
