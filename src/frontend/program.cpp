#include "frontend/program.h"

#include "frontend/command_text.h"
#include "frontend/commands.h"
#include "frontend/dialogue.h"
#include "frontend/exit_status.h"
#include "frontend/reading_options.h"
#include "frontend/terminal.h"
#include "output/renderer.h"

#ifndef LOGFSM_VERSION
#define LOGFSM_VERSION "0"
#endif

namespace logfsm {
namespace {

// Fails with bad_argument unless `given` holds exactly the row's arguments:
// "MODEL.json and LOG are needed", "LOG is needed", "too many arguments".
status count_arguments(const command& row, const std::vector<std::string>& given) {
  const std::vector<std::string>& names = row.arguments;
  if (given.size() == names.size()) return status();
  if (given.size() > names.size())
    return status(status_code::bad_argument, "too many arguments");
  std::string needed;
  for (std::size_t i = 0; i < names.size(); ++i) {
    needed += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
  }
  return status(status_code::bad_argument,
                needed + (names.size() == 1 ? " is needed" : " are needed"));
}

int run_command(const command& row, const std::vector<std::string>& args,
                std::ostream& out, std::ostream& err,
                const program_environment& environment) {
  parsed_command_line line;
  if (const status parsed = parse_command_line(args, accepted_options(row), line);
      !parsed.ok()) {
    return report_failure(row, parsed, err);
  }
  if (line.has("help")) {
    out << help_text(row);
    return kExitOk;
  }
  if (line.has("version")) {
    out << "logfsm " << LOGFSM_VERSION << "\n";
    return kExitOk;
  }
  if (const status counted = count_arguments(row, line.positional); !counted.ok()) {
    return report_failure(row, counted, err);
  }
  read_options reading;
  if (!row.reads.empty()) {
    if (const status read = reading_options_from(line, reading); !read.ok()) {
      return report_failure(row, read, err);
    }
  }
  return row.run({row, line, reading, out, err, environment});
}

}  // namespace

program_environment system_environment() { return {start_dot, stderr_is_terminal()}; }

int run_program(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err, const program_environment& environment) {
  if (args.empty()) return run_dialogue(in, out, err, environment.render);
  if (const command* named = find_command(args[0])) {
    return run_command(*named, {args.begin() + 1, args.end()}, out, err, environment);
  }
  return run_command(commands().front(), args, out, err, environment);
}

}  // namespace logfsm
