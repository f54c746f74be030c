// The texts of the commands, made from their rows (frontend/commands.h) so
// that they say what the driver accepts: the usage line, a command's --help,
// the program's --help that lists every command, and the one format of a
// failure. Lines stay within 79 columns where the rows' texts do.
#ifndef LOGFSM_FRONTEND_COMMAND_TEXT_H_
#define LOGFSM_FRONTEND_COMMAND_TEXT_H_

#include <ostream>
#include <string>

#include "base/status.h"
#include "frontend/commands.h"

namespace logfsm {

// "logfsm" for learning, else "logfsm NAME".
std::string command_title(const command& row);

// "usage: TITLE [OPTION]... [reading options] ARGUMENT...\n": each own
// option of the row in brackets (by its one-letter form when it has one,
// with the name of its value), wrapped under the first option.
std::string usage_text(const command& row);

// What --help shows: the usage, the description, the options (the row's own
// and the answered ones, one a line with its help), the reading options when
// the row reads logs, the exit statuses. Learning's is the program's help:
// it starts with the usage and summary of every command.
std::string help_text(const command& row);

// Writes "TITLE: WHY" on `err` and, when `why` is bad_argument, the usage
// and "Try 'TITLE --help' for more."; returns exit_status_for(why.code()).
int report_failure(const command& row, const status& why, std::ostream& err);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_COMMAND_TEXT_H_
