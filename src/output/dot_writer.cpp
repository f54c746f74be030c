#include "output/dot_writer.h"

#include "output/state_text.h"

namespace logfsm {
namespace {

// Appends the accepting transition ends; returns whether any was appended.
bool append_accepting_list(std::string& out, const machine& transitions) {
  bool any = false;
  for (const fsm_transition& t : transitions) {
    for (const fsm_state* end : {&t.from, &t.to}) {
      if (!*end->accepting) continue;
      append_state(out, *end, text_syntax::dot);
      out += ' ';
      any = true;
    }
  }
  return any;
}

}  // namespace

void append_dot(std::string& out, const machine& transitions) {
  out += "Digraph {\nnode [shape = doublecircle];";
  out += append_accepting_list(out, transitions) ? ";\n" : "\n";
  out += "node [shape = circle];\n";
  for (const fsm_transition& t : transitions) {
    append_state(out, t.from, text_syntax::dot);
    out += "->";
    append_state(out, t.to, text_syntax::dot);
    out += "[label = \"";
    append_escaped(out, t.to.name(), text_syntax::dot);
    out += "\"]\n";
  }
  out += '}';
}

std::ostream& write_dot(std::ostream& out, const machine& transitions) {
  std::string text;
  append_dot(text, transitions);
  return out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace logfsm
