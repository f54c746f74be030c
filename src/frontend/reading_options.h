// The command-line options of every command that reads a log (which format,
// and how the formats that need it are read), with their help lines, and
// their mapping to read_options. What the values may be is checked below,
// by readers/read_options.h, as for every other way of giving them.
#ifndef LOGFSM_FRONTEND_READING_OPTIONS_H_
#define LOGFSM_FRONTEND_READING_OPTIONS_H_

#include <vector>

#include "base/status.h"
#include "frontend/command_line.h"
#include "readers/read_options.h"

namespace logfsm {

// The reading options, in the order their help lists them.
const std::vector<option_spec>& reading_option_specs();

// Fills `options` from the reading options of `line` (lists split at commas)
// and checks them (read_delimiter, check_read_options). Fails with
// bad_argument and their messages.
status reading_options_from(const parsed_command_line& line, read_options& options);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_READING_OPTIONS_H_
