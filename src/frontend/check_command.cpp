#include "frontend/check_command.h"

#include <fstream>
#include <sstream>

#include "checking/check_report.h"
#include "checking/model_file.h"
#include "checking/replay.h"
#include "frontend/command_line.h"
#include "frontend/exit_status.h"
#include "frontend/log_reader.h"

namespace logfsm {
namespace {

constexpr char kCheckUsage[] = "usage: logfsm check [--json] MODEL.json LOG\n";
constexpr char kCheckHelp[] =
    "Replays every line of LOG on the machine that logfsm wrote to MODEL.json\n"
    "and explains each rejected trace: where it left the machine and which\n"
    "events were allowed there.\n"
    "\n"
    "options:\n"
    "  --json      write the report as one JSON document\n"
    "  -h, --help  show this text\n"
    "\n"
    "exit status: 0 every trace accepted; 1 some trace rejected; 2 wrong\n"
    "command line; 4 a file cannot be opened or read; 5 MODEL.json is not a\n"
    "logfsm machine.\n";

struct check_request {
  bool json = false;
  bool help = false;
  std::vector<std::string> files;
  std::string error;  // why the command line is wrong, empty when it is not
};

check_request parse_arguments(const std::vector<std::string>& args) {
  const parsed_command_line line =
      parse_command_line(args, {{"json"}, {"help", 'h'}});
  check_request request{line.has("json"), line.has("help"), line.positional, line.error};
  if (request.error.empty() && !request.help && request.files.size() != 2) {
    request.error =
        request.files.size() < 2 ? "MODEL.json and LOG are needed" : "too many arguments";
  }
  return request;
}

int fail(std::ostream& err, const std::string& file, const std::string& what,
         int status) {
  err << "logfsm check: " << file << ": " << what << '\n';
  return status;
}

// Reads the whole file; false when it cannot be opened or read.
bool read_whole_file(const std::string& name, std::string& text) {
  std::ifstream in;
  if (!open_log(name, in)) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = std::move(buffer).str();
  return !in.bad();
}

}  // namespace

int run_check(const std::vector<std::string>& args, std::ostream& out,
              std::ostream& err) {
  const check_request request = parse_arguments(args);
  if (!request.error.empty()) {
    err << "logfsm check: " << request.error << '\n' << kCheckUsage;
    return kExitUsage;
  }
  if (request.help) {
    out << kCheckUsage << '\n' << kCheckHelp;
    return kExitOk;
  }
  const std::string& model_name = request.files[0];
  const std::string& log_name = request.files[1];

  std::string model_text;
  if (!read_whole_file(model_name, model_text)) {
    return fail(err, model_name, "cannot open or read", kExitNoInput);
  }
  model_file model;
  if (const status read = read_model(model_text, model); !read.ok())
    return fail(err, model_name, read.message(), kExitBadModel);

  std::ifstream log_stream;
  if (!open_log(log_name, log_stream))
    return fail(err, log_name, "cannot open", kExitNoInput);
  const log_contents log = read_log(log_stream);
  if (log_stream.bad()) return fail(err, log_name, "cannot read", kExitNoInput);

  const check_result result = check_log(compile_model(model), log.traces);
  if (request.json) {
    write_json_report(out, result, model_name, log_name);
  } else {
    write_text_report(out, result);
  }
  return result.rejected.empty() ? kExitOk : kExitRejected;
}

}  // namespace logfsm
