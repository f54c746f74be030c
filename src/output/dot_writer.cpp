#include "output/dot_writer.h"

#include "output/state_text.h"

namespace logfsm {
namespace {

// Writes the accepting transition ends; returns whether any was written.
bool write_accepting_list(std::ostream& out, const machine& transitions) {
  bool any = false;
  for (const fsm_transition& t : transitions) {
    for (const fsm_state* end : {&t.from, &t.to}) {
      if (!*end->accepting) continue;
      write_state(out, *end, text_syntax::dot) << ' ';
      any = true;
    }
  }
  return any;
}

}  // namespace

std::ostream& write_dot(std::ostream& out, const machine& transitions) {
  out << "Digraph {\nnode [shape = doublecircle];";
  out << (write_accepting_list(out, transitions) ? ";\n" : "\n");
  out << "node [shape = circle];\n";
  for (const fsm_transition& t : transitions) {
    write_state(out, t.from, text_syntax::dot) << "->";
    write_state(out, t.to, text_syntax::dot) << "[label = \"";
    write_escaped(out, t.to.name(), text_syntax::dot);
    out << "\"]\n";
  }
  return out << '}';
}

}  // namespace logfsm
