// The command-line options of every command that reads a log: which format,
// and how the formats that need it are read.
#ifndef LOGFSM_FRONTEND_READING_OPTIONS_H_
#define LOGFSM_FRONTEND_READING_OPTIONS_H_

#include <vector>

#include "base/status.h"
#include "frontend/command_line.h"
#include "readers/read_options.h"

namespace logfsm {

// `specs` followed by the reading options.
std::vector<option_spec> with_reading_options(std::vector<option_spec> specs);

// Fills `options` from the reading options of `line` (lists split at commas)
// and checks them (read_delimiter, check_read_options). Fails with
// bad_argument and their messages.
status reading_options_from(const parsed_command_line& line, read_options& options);

// The help text of the reading options, one option a line.
extern const char kReadingOptionsHelp[];

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_READING_OPTIONS_H_
