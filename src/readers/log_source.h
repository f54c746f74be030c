// Where a log comes from and which reader reads it: the one place where an
// input format is chosen. A new format is a reader of its own in readers/
// and one entry in the table of log_source.cpp.
#ifndef LOGFSM_READERS_LOG_SOURCE_H_
#define LOGFSM_READERS_LOG_SOURCE_H_

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "model/event_log.h"
#include "readers/input_file.h"
#include "readers/read_options.h"

namespace logfsm {

// What a reader did that its user might not expect (events left out, cases
// kept in file order, ...): one line each, with a count and the first place.
using read_notes = std::vector<std::string>;

// Reads the whole input into `log` (which starts empty). Fails with
// bad_log and "line L, column C: what" (or another place) when the input is
// not well-formed in the format, bad_argument when an option cannot be used
// (a pattern that does not compile), or with in.error() when reading fails.
using log_reader = status (*)(input_file& in, const read_options& options, event_log& log,
                              read_notes& notes);

struct log_format {
  std::string_view name;  // as --input-format names it: "txt"
  // The ends of file names that select it, longest first; empty entries
  // are unused.
  std::array<std::string_view, 2> extensions;
  log_reader read;
  // A failing device ends the log like its end, the lines read before it
  // standing, instead of failing the read (the `;` format's rule).
  bool read_error_ends_log = false;
};

// The format one of whose extensions ends `file_name`, or null.
const log_format* format_for_file(std::string_view file_name);
// The format called `name`, or null.
const log_format* format_named(std::string_view name);
// The names of every format, for messages: "txt, xes, csv or regex".
std::string format_names();

struct log_source {
  std::string name;  // as given
  // The name without its format's extension (or, when no extension of a
  // format ends it, without the part of its last path component from the
  // last "."), directory part kept: the output files are named after it.
  std::string stem;
  const log_format* format = nullptr;
  read_options options;
  input_file file;  // open until the log is read
};

// Opens the log `name` and chooses its format: options.input_format when
// given, else "regex" when options.regex is given, else from the name, else
// `fallback`. Opening comes first, so a missing file is reported as missing
// whatever its name. Fails with cannot_read "No such file.", or
// bad_argument "NAME: cannot tell the log format from the name ..." when
// nothing chooses a format.
status open_log_source(const std::string& name, const read_options& options,
                       log_source& source, const log_format* fallback = nullptr);

// Reads the opened source to its end with its format's reader and closes
// it. A failure's message starts with the log's name ("NAME: line 3, column
// 7: ..."); so does every note. In the `;` format a read error leaves the
// lines read before it in `log` and fails with cannot_read "NAME: cannot
// read".
status read_log_source(log_source& source, event_log& log, read_notes& notes);

}  // namespace logfsm

#endif  // LOGFSM_READERS_LOG_SOURCE_H_
