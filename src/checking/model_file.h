// Reading back the JSON machine that logfsm writes (output/json_writer.h).
//
// The text is read by the strict JSON reader (checking/json_reader.h), whose
// escapes decode as the writer encodes, so every state and track read back
// has exactly the bytes of the name that was written.
#ifndef LOGFSM_CHECKING_MODEL_FILE_H_
#define LOGFSM_CHECKING_MODEL_FILE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace logfsm {

// A transition between two states, given by their numbers in
// model_file::states.
struct model_transition {
  std::uint32_t from = 0;
  std::uint32_t to = 0;
  std::string track;  // the event name of `to`
};

// A machine as read from its file. States are identified by their decoded
// text (event name or "s0", then "(id)"), each numbered once: first those of
// "states" in file order, then any other state at its first mention.
struct model_file {
  std::vector<std::string> states;
  std::vector<model_transition> transitions;  // in file order
  std::vector<std::uint32_t> initial;         // "isInitial": ascending, each state once
  std::vector<std::uint32_t> accepting;       // "isAccepting": ascending, each state once
};

// Reads `text` as a logfsm machine into `model`. On failure `model` is empty
// and the status is bad_model with one line: the error of parse_json, or
// "not a logfsm model (WHAT)" when the JSON lacks the shape the writer gives
// it: an object with the arrays "states" and "transitions" and the object
// "meta" holding the arrays "isAccepting" and "isInitial" (not empty); every
// state a string "NAME(ID)" with a decimal 16-bit ID; every transition an
// object with the strings "from", "to" and "track", where "to" is the track
// (or "s0" for the empty name) followed by its "(ID)". Members the writer
// does not write are ignored; a member it writes must appear once.
status read_model(std::string_view text, model_file& model);

}  // namespace logfsm

#endif  // LOGFSM_CHECKING_MODEL_FILE_H_
