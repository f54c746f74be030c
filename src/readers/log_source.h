// Where a log comes from and which reader reads it: the one place where an
// input format is chosen. A new format is a reader of its own in readers/
// and one entry in the table of log_source.cpp.
#ifndef LOGFSM_READERS_LOG_SOURCE_H_
#define LOGFSM_READERS_LOG_SOURCE_H_

#include <fstream>
#include <istream>
#include <string>
#include <string_view>

#include "base/status.h"
#include "model/event_log.h"

namespace logfsm {

struct log_format {
  std::string_view name;       // as an option would name it: "txt"
  std::string_view extension;  // the end of a file name that selects it
  // Reads the whole stream; a read error ends reading like its end, with
  // in.bad() set.
  event_log (*read)(std::istream& in);
};

// The format whose extension ends `file_name`, or null.
const log_format* format_for_file(std::string_view file_name);
// The format called `name`, or null.
const log_format* format_named(std::string_view name);

struct log_source {
  std::string name;  // as given
  // The name without its format's extension (or up to its last "." when no
  // format chose it), directory part kept: the output files are named
  // after it.
  std::string stem;
  const log_format* format = nullptr;
  std::ifstream stream;  // open on the file until it is read
};

// Opens `name` for reading exactly as given, in binary mode so that every
// platform reads the same bytes. False for a directory.
bool open_input(const std::string& name, std::ifstream& stream);

// Opens the log `name` (open_input) and chooses its format from the name,
// `fallback` when no format's extension ends it. Opening comes first, so a
// missing file is reported as missing whatever its name. Fails with
// cannot_read "No such file." or bad_argument ".txt file is required".
status open_log_source(const std::string& name, log_source& source,
                       const log_format* fallback = nullptr);

// Reads the opened source to its end with its format's reader and closes
// it. On a read error the lines read before it are in `log` and the result
// is cannot_read "cannot read".
status read_log_source(log_source& source, event_log& log);

}  // namespace logfsm

#endif  // LOGFSM_READERS_LOG_SOURCE_H_
