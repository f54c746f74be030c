// The JSON form of the learned machine: states, transitions with their
// tracks, and a meta block with the accepting and initial states.
#ifndef LOGFSM_OUTPUT_JSON_WRITER_H_
#define LOGFSM_OUTPUT_JSON_WRITER_H_

#include <ostream>
#include <string>

#include "model/machine.h"

namespace logfsm {

// Writes the JSON text, without a line end after the final brace:
// "states" (every state at a transition end, once, in state order),
// "transitions" (in transition order: "from", "to", "track" = the target's
// event name), and "meta" with "isAccepting" (each state once, in state
// order, when the flag of any copy of it at a transition end is set) and
// "isInitial" (always the one initial state s0(-1)).
std::ostream& write_json(std::ostream& out, const machine& transitions);
// The same text, appended to `out`.
void append_json(std::string& out, const machine& transitions);

}  // namespace logfsm

#endif  // LOGFSM_OUTPUT_JSON_WRITER_H_
