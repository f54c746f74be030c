// Raw text logs: one event per line, its name cut out of the line by a
// regular expression (RE2 syntax, matched in time linear in the line, so no
// pattern can hang on a large log).
#ifndef LOGFSM_READERS_REGEX_LOG_H_
#define LOGFSM_READERS_REGEX_LOG_H_

#include "readers/log_source.h"

namespace logfsm {

// Uses options.regex (at least one), options.separator (empty: none),
// options.skip and options.timestamp_format. Lines end at LF, CR LF or a lone CR; a UTF-8 byte order
// mark before the first line is dropped. Each line is checked, as a whole,
// against the separator (which ends every open trace and is no event), then
// is dropped when blank (only blanks and tabs) or matched by a skip
// pattern, then gives one event by the first pattern of options.regex that
// matches it. A line no pattern matches is skipped and counted in a note
// "N lines matched no pattern and were skipped (first: line L)".
//
// Each pattern names its event by a group (?P<event>...) (also written
// (?<event>...)); an optional group (?P<case>...) puts the line into the
// trace of its value. Without case groups the lines between separators (or
// the whole file) make one trace; with them, each case value's lines
// between separators make one trace, and traces come in order of their
// first lines. A pattern without a case group, or whose case group took no
// part in the match, gives the case "". A group event that took no part
// gives the name "". Only traces with events are made. A trace's case value
// is its case id (none when empty). An optional group (?P<time>...) gives
// the event's time, read as ISO 8601 or with options.timestamp_format; one
// that took no part or does not parse gives no time. Traces keep line order
// whatever their times. Other named groups are ignored.
//
// Fails with bad_argument "--regex PATTERN: no group named event", or
// "--regex PATTERN: " (likewise "--separator", "--skip") and RE2's message
// for a pattern that does not compile (line breaks in either shown as \n
// and \r); with bad_log "this build reads no raw text logs (no RE2)" when
// built without RE2; with in.error() when reading fails.
// Memory: the name numbers (and times) of the open traces when there are
// case groups, else nothing beyond the current line.
status read_regex_log(input_file& in, const read_options& options, event_log& log,
                      read_notes& notes);

// True when this build reads raw text logs (it has RE2).
bool reads_regex_logs();

}  // namespace logfsm

#endif  // LOGFSM_READERS_REGEX_LOG_H_
