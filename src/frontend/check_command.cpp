#include "frontend/check_command.h"

#include <ostream>
#include <string>

#include "checking/check_report.h"
#include "checking/model_file.h"
#include "checking/replay.h"
#include "frontend/exit_status.h"
#include "frontend/model_input.h"

namespace logfsm {

int run_check(const command_call& call) {
  const std::string& model_name = call.line.positional[0];
  const std::string& log_name = call.line.positional[1];

  machine_shape model;
  event_log log;
  status loaded = load_model(model_name, model);
  if (loaded.ok()) loaded = load_log(log_name, call.reading, log, call.err, "logfsm check: ");
  if (!loaded.ok()) {
    call.err << "logfsm check: " << loaded.message() << '\n';
    return exit_status_for(loaded.code());
  }

  const check_result result = check_log(compile_model(model), log);
  if (call.line.has("json")) {
    write_json_report(call.out, result, model_name, log_name);
  } else {
    write_text_report(call.out, result);
  }
  return result.rejected.empty() ? kExitOk : kExitRejected;
}

}  // namespace logfsm
