// The `;` text log format and its reader.
//
// One trace per line (LF; a CR before the LF is dropped; the last line needs
// no LF). Every ";" ends one event whose name is the text since the previous
// ";" or the line start, byte for byte (blanks kept, possibly empty). Text
// after the last ";" is ignored, so a line without ";" is an empty trace.
// There is no header, comment, quoting or escape.
#ifndef LOGFSM_READERS_TEXT_LOG_H_
#define LOGFSM_READERS_TEXT_LOG_H_

#include <istream>
#include <string_view>

#include "model/event_log.h"

namespace logfsm {

// Parses a whole log held in memory: one line of the result per line of the
// text, empty lines included.
event_log parse_log(std::string_view text);

// Reads `in` line by line to its end. A read error ends reading like the end
// of the file: the complete lines read before it stand (in.bad() tells).
event_log read_log(std::istream& in);

}  // namespace logfsm

#endif  // LOGFSM_READERS_TEXT_LOG_H_
