// A strict JSON reader for checking the writers' output in tests.
//
// It accepts exactly the JSON text grammar of RFC 8259 (one value with
// optional white space around it) and in addition insists that the text is
// valid UTF-8: overlong forms, surrogates, code points above U+10FFFF,
// truncated sequences and stray continuation bytes are errors anywhere in the
// text, and so are raw control characters (below U+0020) inside strings and
// \u escapes that name an unpaired surrogate. It builds no tree; it only
// reports the first error and collects the decoded strings.
#ifndef LOGFSM_TESTS_SUPPORT_JSON_CHECK_H_
#define LOGFSM_TESTS_SUPPORT_JSON_CHECK_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace logfsm::testing {

struct json_check_result {
  bool ok = false;
  // When not ok: what was wrong and the byte offset where it was found.
  std::string error;
  std::size_t offset = 0;
  // Every string of the text (member names and values) in document order,
  // decoded to UTF-8 with all escapes resolved.
  std::vector<std::string> strings;
};

json_check_result check_json(std::string_view text);

}  // namespace logfsm::testing

#endif  // LOGFSM_TESTS_SUPPORT_JSON_CHECK_H_
