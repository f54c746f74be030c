// The Graphviz DOT form of the learned machine.
#ifndef LOGFSM_OUTPUT_DOT_WRITER_H_
#define LOGFSM_OUTPUT_DOT_WRITER_H_

#include <ostream>
#include <string>

#include "model/machine.h"

namespace logfsm {

// Writes "Digraph {", the accepting list (for every transition in order, its
// `from` and then its `to` when that copy's flag is set, each followed by a
// blank, so a state may be listed several times), the circle default, one
// edge line per transition labelled with the target's event name, and "}"
// without a line end. When no transition end is accepting the list and its
// ";" are left out, so the file stays valid DOT.
std::ostream& write_dot(std::ostream& out, const machine& transitions);
// The same text, appended to `out`.
void append_dot(std::string& out, const machine& transitions);

}  // namespace logfsm

#endif  // LOGFSM_OUTPUT_DOT_WRITER_H_
