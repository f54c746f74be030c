// The commands of logfsm as one table. A row holds all that the command line
// and the texts need to know of a command: its name, what it does, its
// options with their help lines, whether it reads logs (and so takes the
// reading options), its arguments, its exit statuses and its handler. The
// driver (frontend/program.cpp) parses the arguments with the row's options,
// answers --help and --version, checks the number of arguments, reads the
// reading options, reports every failure in one format and only then calls
// the handler; the texts (frontend/command_text.h) are made from the rows, so
// usage, help and what is accepted cannot drift apart.
#ifndef LOGFSM_FRONTEND_COMMANDS_H_
#define LOGFSM_FRONTEND_COMMANDS_H_

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "frontend/command_line.h"
#include "frontend/environment.h"
#include "readers/read_options.h"

namespace logfsm {

struct command;

// What a handler gets once the driver has read its command line.
struct command_call {
  const command& row;
  // The options given and exactly the row's arguments.
  const parsed_command_line& line;
  // The reading options, checked; the defaults for a row that reads no log.
  const read_options& reading;
  std::ostream& out;
  std::ostream& err;
  const program_environment& environment;

  // Reports `why` on `err` as every failure of the command is reported
  // (report_failure in frontend/command_text.h) and returns its exit status.
  int fail(const status& why) const;
};

// Runs a command and returns its exit status (frontend/exit_status.h).
using command_handler = int (*)(const command_call& call);

struct command {
  // The word after "logfsm"; empty for learning (`logfsm [options] LOG K`).
  std::string name;
  // One line for the list of commands in `logfsm --help`.
  std::string summary;
  // What the command does, for its --help: lines ended by '\n'.
  std::string description;
  // Its own options, without --help, --version and the reading options.
  std::vector<option_spec> options;
  // The arguments the reading options apply to ("LOG and LOG2"); empty for
  // a command that reads no log.
  std::string reads;
  // The names of its arguments, every one needed ("MODEL.json", "LOG").
  std::vector<std::string> arguments;
  // Its exit statuses: lines ended by '\n', the first after "exit status: ".
  std::string exit_status;
  command_handler run = nullptr;
};

// Every command, learning first.
const std::vector<command>& commands();

// The command whose name is `word`, or null (learning has no name).
const command* find_command(std::string_view word);

// The options listed under "options:" in the help of `row`: its own, then
// those the driver answers without calling its handler (-h/--help, and
// --version for learning).
std::vector<option_spec> listed_options(const command& row);

// Every option `row` accepts: the listed ones, and the reading options when
// it reads logs.
std::vector<option_spec> accepted_options(const command& row);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_COMMANDS_H_
