// The `;` text log format: its reader and its writer.
//
// One trace per line (LF; a CR before the LF is dropped; the last line needs
// no LF). Every ";" ends one event whose name is the text since the previous
// ";" or the line start, byte for byte (blanks kept, possibly empty). Text
// after the last ";" is ignored, so a line without ";" is an empty trace.
// There is no header, comment, quoting or escape.
#ifndef LOGFSM_READERS_TEXT_LOG_H_
#define LOGFSM_READERS_TEXT_LOG_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "readers/log_source.h"

namespace logfsm {

// Parses a whole log held in memory: one line of the result per line of the
// text, empty lines included.
event_log parse_log(std::string_view text);

// Reads `in` line by line to its end. A read error ends reading like the end
// of the file: the complete lines read before it stand, and in.error()
// is returned.
status read_text_log(input_file& in, const read_options& options, event_log& log,
                     read_notes& notes);

// Appends `log` in this format to `text`: every event's name followed by
// ";", every trace followed by LF. A ";", CR or LF in a name (which the
// format cannot hold) is written as "_". Returns the number of distinct
// names so changed; with none, parsing the text gives `log` back.
std::size_t format_text_log(const event_log& log, std::string& text);

// format_text_log, with what it changed as notes for its user: "N event
// names held \";\", CR or LF, written with \"_\" in their place" (none when
// nothing changed).
std::vector<std::string> write_text_log(const event_log& log, std::string& text);

}  // namespace logfsm

#endif  // LOGFSM_READERS_TEXT_LOG_H_
