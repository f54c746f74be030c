#include "frontend/check_command.h"

#include <ostream>
#include <string>
#include <vector>

#include "checking/check_report.h"
#include "checking/model_file.h"
#include "checking/replay.h"
#include "frontend/exit_status.h"
#include "frontend/model_input.h"

namespace logfsm {
namespace {

struct check_request {
  bool json = false;
  std::vector<std::string> files;
  read_options reading;
};

}  // namespace

int run_check(const command_call& call) {
  const check_request request{call.line.has("json"), call.line.positional, call.reading};
  std::ostream& out = call.out;
  std::ostream& err = call.err;
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
