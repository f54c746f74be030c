#include "output/json_writer.h"

#include <vector>

#include "output/state_text.h"

namespace logfsm {
namespace {

void write_json_state(std::ostream& out, const fsm_state& s) {
  write_state(out, s, text_syntax::json);
}

void write_transition(std::ostream& out, const fsm_transition& t) {
  out << "{\n\"from\":";
  write_json_state(out, t.from);
  out << ",\n\"to\":";
  write_json_state(out, t.to);
  out << ",\n\"track\":\"";
  write_escaped(out, t.to.name(), text_syntax::json);
  out << "\"\n}";
}

}  // namespace

std::ostream& write_json(std::ostream& out, const machine& transitions) {
  const std::vector<state_summary> states = transitions.states();
  out << "{\n\"states\":[\n";
  for (std::size_t i = 0; i < states.size(); ++i) {
    write_json_state(out, states[i].state);
    out << (i + 1 < states.size() ? ",\n" : "\n");
  }
  out << "],\n\"transitions\":[\n";
  std::size_t written = 0;
  for (const fsm_transition& t : transitions) {
    write_transition(out, t);
    out << (++written < transitions.size() ? ",\n" : "\n");
  }
  out << "],\"meta\":{\n\"isAccepting\":[\n";
  bool first = true;
  for (const state_summary& entry : states) {
    if (!entry.accepting) continue;
    if (!first) out << ",\n";
    write_json_state(out, entry.state);
    first = false;
  }
  if (!first) out << '\n';
  out << "],\"isInitial\":[\n";
  write_json_state(out, fsm_state());
  return out << "\n]}\n}";
}

}  // namespace logfsm
