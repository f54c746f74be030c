#include "frontend/eval_command.h"

#include <cstddef>
#include <optional>
#include <sstream>
#include <thread>

#include "evaluation/evaluation.h"
#include "frontend/command_line.h"
#include "frontend/exit_status.h"
#include "frontend/live_line.h"
#include "frontend/model_input.h"
#include "output/file_output.h"

namespace logfsm {
namespace {

struct eval_request {
  eval_options options;
  std::string log;
  std::optional<std::string> negatives;
  std::optional<std::string> plot;
  bool json = false;
  bool quiet = false;
  read_options reading;
};

// The request from the options, LOG and reading options of `call`.
status read_request(const command_call& call, eval_request& request) {
  const parsed_command_line& line = call.line;
  request.json = line.has("json");
  request.quiet = line.has("quiet");
  request.negatives = line.value("negatives");
  request.plot = line.value("plot");
  request.log = line.positional[0];
  request.reading = call.reading;
  status parsed;
  if (const auto ks = line.value("k")) parsed = parse_k_list(*ks, request.options.ks);
  std::size_t jobs = std::max(1u, std::thread::hardware_concurrency());
  if (parsed.ok())
    parsed = read_whole_number(line, "folds", 2, 1000000, request.options.folds);
  if (parsed.ok()) parsed = read_whole_number(line, "jobs", 1, 1024, jobs);
  request.options.jobs = static_cast<unsigned>(jobs);
  return parsed;
}

}  // namespace

int run_eval(const command_call& call) {
  std::ostream& out = call.out;
  std::ostream& err = call.err;
  eval_request request;
  if (const status parsed = read_request(call, request); !parsed.ok())
    return call.fail(parsed);

  event_log log;
  event_log negatives;
  status loaded = load_log(request.log, request.reading, log, err, "logfsm eval: ");
  if (loaded.ok() && request.negatives) {
    loaded =
        load_log(*request.negatives, request.reading, negatives, err, "logfsm eval: ");
    request.options.negatives = &negatives;
  }
  if (!loaded.ok()) return call.fail(loaded);

  live_line line(err, clock_type::now(), "Learned", "models");
  const bool live = call.environment.live_progress && !request.quiet;
  if (live) {
    request.options.progress = [&line](std::size_t done, std::size_t total) {
      line.show(done, total);
    };
  }
  eval_report report;
  const status evaluated = evaluate(log, request.options, report);
  if (live) line.clear();
  if (!evaluated.ok()) return call.fail(evaluated);

  if (request.json) {
    write_eval_json(out, report);
  } else {
    write_eval_text(out, report);
  }
  out.flush();
  if (request.plot) {
    if (const status written =
            write_file_atomically(*request.plot, eval_plot_svg(report));
        !written.ok()) {
      return call.fail(written);
    }
  }
  return kExitOk;
}

}  // namespace logfsm
