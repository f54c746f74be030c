// The event log format and its reader.
//
// One trace per line (LF; a CR before the LF is dropped; the last line needs
// no LF). Every ";" ends one event whose name is the text since the previous
// ";" or the line start, byte for byte (blanks kept, possibly empty). Text
// after the last ";" is ignored, so a line without ";" is an empty trace.
// There is no header, comment, quoting or escape.
#ifndef LOGFSM_FRONTEND_LOG_READER_H_
#define LOGFSM_FRONTEND_LOG_READER_H_

#include <cstdint>
#include <fstream>
#include <istream>
#include <string>
#include <string_view>

#include "model/event_log.h"

namespace logfsm {

struct log_contents {
  event_log traces;  // one line per line of the file, empty lines included
  std::int64_t event_total = 0;
};

// Parses a whole log held in memory.
log_contents parse_log(std::string_view text);

// Reads `in` line by line to its end. A read error ends reading like the end
// of the file: the complete lines read before it stand.
log_contents read_log(std::istream& in);

// Opens the file `name` exactly as given for reading, in binary mode so that
// every platform reads the same bytes. Fails for a directory.
bool open_log(const std::string& name, std::ifstream& stream);

enum class log_name_check { ok, cannot_open, not_txt };

// Opens the log `name` as open_log does and checks that the name ends in
// ".txt" (opening comes first); sets `stem` to the name up to its last ".",
// directory part kept: the output files are named after it.
log_name_check open_named_log(const std::string& name, std::ifstream& stream,
                              std::string& stem);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_LOG_READER_H_
