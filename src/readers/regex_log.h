// Raw text logs: events cut out of lines by regular expressions (RE2).
#ifndef LOGFSM_READERS_REGEX_LOG_H_
#define LOGFSM_READERS_REGEX_LOG_H_

#include "readers/log_source.h"

namespace logfsm {

// Uses options.regex (at least one), options.separator and options.skip.
// Each line is checked against the separator, then the skip patterns, then
// the patterns in order; the first whole-line match wins. Fails with
// bad_argument and RE2's message for a pattern that does not compile, or
// "this build reads no raw text logs" when built without RE2.
status read_regex_log(input_file& in, const read_options& options, event_log& log,
                      read_notes& notes);

}  // namespace logfsm

#endif  // LOGFSM_READERS_REGEX_LOG_H_
