#include "output/json_writer.h"

#include <vector>

#include "output/state_text.h"

namespace logfsm {
namespace {

void append_json_state(std::string& out, const fsm_state& s) {
  append_state(out, s, text_syntax::json);
}

void append_transition(std::string& out, const fsm_transition& t) {
  out += "{\n\"from\":";
  append_json_state(out, t.from);
  out += ",\n\"to\":";
  append_json_state(out, t.to);
  out += ",\n\"track\":\"";
  append_escaped(out, t.to.name(), text_syntax::json);
  out += "\"\n}";
}

}  // namespace

void append_json(std::string& out, const machine& transitions) {
  const std::vector<state_summary> states = transitions.states();
  out += "{\n\"states\":[\n";
  for (std::size_t i = 0; i < states.size(); ++i) {
    append_json_state(out, states[i].state);
    out += i + 1 < states.size() ? ",\n" : "\n";
  }
  out += "],\n\"transitions\":[\n";
  std::size_t written = 0;
  for (const fsm_transition& t : transitions) {
    append_transition(out, t);
    out += ++written < transitions.size() ? ",\n" : "\n";
  }
  out += "],\"meta\":{\n\"isAccepting\":[\n";
  bool first = true;
  for (const state_summary& entry : states) {
    if (!entry.accepting) continue;
    if (!first) out += ",\n";
    append_json_state(out, entry.state);
    first = false;
  }
  if (!first) out += '\n';
  out += "],\"isInitial\":[\n";
  append_json_state(out, fsm_state());
  out += "\n]}\n}";
}

std::ostream& write_json(std::ostream& out, const machine& transitions) {
  std::string text;
  append_json(text, transitions);
  return out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace logfsm
