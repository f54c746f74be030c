// Reading back the JSON machine that logfsm writes (output/json_writer.h).
//
// The JSON reader is strict: exactly the grammar of RFC 8259, one value with
// optional white space around it, nesting at most kMaxJsonDepth deep. Raw
// control characters inside strings are errors. Escapes decode as the writer
// (output/state_text.h) encodes event names, so that any name read back has
// exactly the bytes that were written:
// - \u0000..\u00FF stand for the single byte of that value. Below 0x80 this is
//   the character itself; from 0x80 on it is a byte that was not part of
//   valid UTF-8, since the writer keeps valid UTF-8 (U+0080..U+00FF included)
//   as it is and escapes only stray bytes.
// - Every other \u escape, and a surrogate pair, becomes the code point's
//   UTF-8 bytes; an unpaired surrogate is an error.
// - Bytes outside escapes are kept as they are.
#ifndef LOGFSM_CHECKING_MODEL_FILE_H_
#define LOGFSM_CHECKING_MODEL_FILE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace logfsm {

inline constexpr int kMaxJsonDepth = 64;

// A parsed JSON value as a plain tree.
struct json_value {
  enum class kind { null, boolean, number, string, array, object };
  kind type = kind::null;
  // A string's decoded bytes; a number's or a boolean's text as written.
  std::string text;
  // An object's member names, in order.
  std::vector<std::string> keys;
  // An array's elements, or an object's member values (parallel to `keys`).
  std::vector<json_value> items;
};

struct json_parse {
  json_value value;
  // Empty when the text parsed; otherwise one line such as
  // "malformed JSON at line 3, column 5: expected ','" (lines and columns
  // count from 1, columns in bytes).
  std::string error;
};

json_parse parse_json(std::string_view text);

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

struct model_read {
  model_file model;
  // Empty when the text is a logfsm machine. Otherwise the JSON error of
  // parse_json, or "not a logfsm model (WHAT)" when the JSON lacks the shape
  // the writer gives it: an object with the arrays "states" and
  // "transitions" and the object "meta" holding the arrays "isAccepting"
  // and "isInitial" (not empty); every state a string "NAME(ID)" with a
  // decimal 16-bit ID; every transition an object with the strings "from",
  // "to" and "track", where "to" is the track (or "s0" for the empty name)
  // followed by its "(ID)". Members the writer does not write are ignored;
  // a member it writes must appear once.
  std::string error;
};

model_read read_model(std::string_view text);

}  // namespace logfsm

#endif  // LOGFSM_CHECKING_MODEL_FILE_H_
