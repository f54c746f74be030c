// The text form of states and event names in the output files.
//
// A state is written as a double-quoted string: its event name (or s0 when
// the name is empty), then its id in parentheses, so a state's DOT node name
// and its JSON value are the same text. Names are escaped so that both files
// always parse; names without special characters are written byte for byte:
// - DOT: `"` as \" and `\` as \\; a NUL byte as \0. Other bytes are kept.
// - JSON: `"` and `\` escaped, control characters as \b \f \n \r \t or
//   \u00XX; valid UTF-8 sequences are kept; every byte that is not part of a
//   valid UTF-8 sequence is written as \u00XX with the byte's value (read as
//   Latin-1), so the file is valid JSON whatever bytes the log holds.
#ifndef LOGFSM_OUTPUT_STATE_TEXT_H_
#define LOGFSM_OUTPUT_STATE_TEXT_H_

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "model/fsm_state.h"

namespace logfsm {

enum class text_syntax { dot, json };

// Appends `name` escaped for the inside of a quoted string of `syntax`.
void append_escaped(std::string& out, std::string_view name, text_syntax syntax);

// Appends the quoted text form of `s` and nothing else.
void append_state(std::string& out, const fsm_state& s, text_syntax syntax);
// The same for the state of `name` and `id`.
void append_state(std::string& out, std::string_view name, std::int16_t id,
                  text_syntax syntax);

// The text of the state of `name` and `id` before quoting and escaping:
// "NAME(ID)", as a model file reads back.
std::string state_text(std::string_view name, std::int16_t id);

// Writes `name` escaped for the inside of a quoted string of `syntax`.
void write_escaped(std::ostream& out, std::string_view name, text_syntax syntax);

// Writes `text` as a JSON string: in double quotes, escaped as above.
void write_json_string(std::ostream& out, std::string_view text);

// Writes the quoted text form of `s` and nothing else.
std::ostream& write_state(std::ostream& out, const fsm_state& s,
                          text_syntax syntax);

// The length of the valid UTF-8 sequence at the start of `text`, or 0 when
// its first byte does not start one (overlong forms, surrogates and code
// points above U+10FFFF are invalid). Requires: text is not empty.
std::size_t utf8_sequence_length(std::string_view text);

}  // namespace logfsm

#endif  // LOGFSM_OUTPUT_STATE_TEXT_H_
