// Reading back the JSON machine that logfsm writes (output/json_writer.h)
// as the machine's shape (model/machine_shape.h).
//
// The text is read by the strict JSON reader (checking/json_reader.h), whose
// escapes decode as the writer encodes, so every state name read back has
// exactly the bytes of the name that was written. A machine's JSON text
// reads back to shape_of(machine).
#ifndef LOGFSM_CHECKING_MODEL_FILE_H_
#define LOGFSM_CHECKING_MODEL_FILE_H_

#include <string_view>

#include "base/status.h"
#include "model/machine_shape.h"

namespace logfsm {

// Reads `text` as a logfsm machine into `shape`. States are told apart by
// their text ("NAME(ID)") and numbered once each: first those of "states"
// in file order, then any other state at its first mention; a state's name
// is its text before the "(ID)", and each transition keeps its "track".
//
// On failure `shape` is empty and the status is bad_model with one line:
// the error of parse_json, or "not a logfsm model (WHAT)" when the JSON
// lacks the shape the writer gives it: an object with the arrays "states"
// and "transitions" and the object "meta" holding the arrays "isAccepting"
// and "isInitial" (not empty); every state a string "NAME(ID)" with a
// decimal 16-bit ID; every transition an object with the strings "from",
// "to" and "track", where "to" is the track (or "s0" for the empty name)
// followed by its "(ID)". Members the writer does not write are ignored; a
// member it writes must appear once.
status read_model(std::string_view text, machine_shape& shape);

}  // namespace logfsm

#endif  // LOGFSM_CHECKING_MODEL_FILE_H_
