// A strict JSON reader for the model files of `logfsm check`.
//
// It accepts exactly the grammar of RFC 8259: one value with optional white
// space around it, nesting at most kMaxJsonDepth deep. Raw control characters
// inside strings are errors. Escapes decode as the writer
// (output/state_text.h) encodes event names, so that any name read back has
// exactly the bytes that were written:
// - \u0000..\u00FF stand for the single byte of that value. Below 0x80 this is
//   the character itself; from 0x80 on it is a byte that was not part of
//   valid UTF-8, since the writer keeps valid UTF-8 (U+0080..U+00FF included)
//   as it is and escapes only stray bytes.
// - Every other \u escape, and a surrogate pair, becomes the code point's
//   UTF-8 bytes; an unpaired surrogate is an error.
// - Bytes outside escapes are kept as they are.
#ifndef LOGFSM_CHECKING_JSON_READER_H_
#define LOGFSM_CHECKING_JSON_READER_H_

#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

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

// Reads `text` as one JSON value into `value`. On failure `value` is null and
// the status is bad_model with the first error met, as one line such as
// "malformed JSON at line 3, column 5: expected ','" (lines and columns count
// from 1, columns in bytes).
status parse_json(std::string_view text, json_value& value);

}  // namespace logfsm

#endif  // LOGFSM_CHECKING_JSON_READER_H_
