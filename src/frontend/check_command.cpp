#include "frontend/check_command.h"


#include "checking/check_report.h"
#include "checking/model_file.h"
#include "checking/replay.h"
#include "frontend/command_line.h"
#include "frontend/exit_status.h"
#include "frontend/model_input.h"
#include "frontend/reading_options.h"

namespace logfsm {
namespace {

constexpr char kCheckUsage[] = "usage: logfsm check [--json] [reading options] MODEL.json LOG\n";
constexpr char kCheckHelp[] =
    "Replays every line of LOG on the machine that logfsm wrote to MODEL.json\n"
    "and explains each rejected trace: where it left the machine and which\n"
    "events were allowed there.\n"
    "\n"
    "options:\n"
    "  --json               write the report as one JSON document\n"
    "  -h, --help           show this text\n"
    "\n"
    "LOG is read like a log to learn from, in any format (a name of no known\n"
    "format is read as .txt); reading options:\n";
constexpr char kCheckExit[] =
    "\n"
    "exit status: 0 every trace accepted; 1 some trace rejected; 2 wrong\n"
    "command line; 4 a file cannot be opened or read; 5 MODEL.json is not a\n"
    "logfsm machine.\n";

struct check_request {
  bool json = false;
  bool help = false;
  std::vector<std::string> files;
  read_options reading;
};

status parse_arguments(const std::vector<std::string>& args, check_request& request) {
  parsed_command_line line;
  status parsed = parse_command_line(
      args, with_reading_options({{"json"}, {"help", 'h'}}), line);
  request = {line.has("json"), line.has("help"), line.positional, {}};
  if (parsed.ok()) parsed = reading_options_from(line, request.reading);
  if (!parsed.ok() || request.help || request.files.size() == 2) return parsed;
  return status(status_code::bad_argument, request.files.size() < 2
                                               ? "MODEL.json and LOG are needed"
                                               : "too many arguments");
}

}  // namespace

int run_check(const std::vector<std::string>& args, std::ostream& out,
              std::ostream& err) {
  check_request request;
  if (const status parsed = parse_arguments(args, request); !parsed.ok()) {
    err << "logfsm check: " << parsed.message() << '\n' << kCheckUsage;
    return kExitUsage;
  }
  if (request.help) {
    out << kCheckUsage << '\n' << kCheckHelp << kReadingOptionsHelp << kCheckExit;
    return kExitOk;
  }
  const std::string& model_name = request.files[0];
  const std::string& log_name = request.files[1];

  machine_shape model;
  event_log log;
  status loaded = load_model(model_name, model);
  if (loaded.ok()) loaded = load_log(log_name, request.reading, log, err, "logfsm check: ");
  if (!loaded.ok()) {
    err << "logfsm check: " << loaded.message() << '\n';
    return exit_status_for(loaded.code());
  }

  const check_result result = check_log(compile_model(model), log);
  if (request.json) {
    write_json_report(out, result, model_name, log_name);
  } else {
    write_text_report(out, result);
  }
  return result.rejected.empty() ? kExitOk : kExitRejected;
}

}  // namespace logfsm
