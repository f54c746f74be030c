#include "frontend/batch.h"

#include <cstddef>
#include <cstdio>
#include <string>

#include "frontend/exit_status.h"
#include "frontend/learn_run.h"
#include "frontend/live_line.h"
#include "frontend/parameter.h"
#include "frontend/view_command.h"
#include "readers/log_source.h"
#include "view/assets.h"

namespace logfsm {

int run_batch(const batch_request& request, std::ostream& out, std::ostream& err,
              const program_environment& environment) {
  const clock_type::time_point start = clock_type::now();
  log_source log;
  if (const status opened = open_log_source(request.log, request.reading, log);
      !opened.ok()) {
    err << opened.message() << std::endl;
    return exit_status_for(opened.code());
  }
  learn_request learning;
  if (const status read = read_k(request.k, learning.k); !read.ok()) {
    err << read.message() << std::endl;
    return exit_status_for(read.code());
  }
  learning.output_dir = request.output_dir;
  learning.html = request.html;
  learning.examples = request.examples;
  learning.note = [&err](const std::string& note) {
    err << "logfsm: " << note << std::endl;
  };
  live_line line(err, start);
  const bool live = environment.live_progress && !request.quiet;
  if (live) {
    learning.progress.trace_done = [&line](std::size_t done, std::size_t total) {
      line.show(done, total);
    };
  } else if (!request.quiet) {
    learning.progress = progress_lines(out);
  }
  const learn_result result = learn_run(log, learning);
  if (live && !result.files.empty()) line.clear();
  if (!result.outcome.ok()) {
    if (result.files.empty() && result.outcome.code() != status_code::empty_log)
      err << "logfsm: ";
    report_problems(result, err);
    return exit_status_for(result.outcome.code());
  }
  if (request.render && environment.render) {
    const unsigned long error =
        environment.render(result.file(output_kind::dot), request.format);
    if (error != 0) {
      err << "logfsm: could not start Graphviz dot (error " << error
          << "); install Graphviz to get the " << request.format << " picture\n";
    }
  }
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.2f", seconds_since(start));
  for (std::size_t i = 0; i < result.files.size(); ++i) {
    out << (i > 0 ? ", " : "") << result.files[i].name;
  }
  out << ": " << result.states << " states, " << result.transitions << " transitions, "
      << result.accepting_states << " accepting states, " << seconds << " s" << std::endl;
  return kExitOk;
}

int run_learn(const command_call& call) {
  const parsed_command_line& line = call.line;
  batch_request request;
  request.log = line.positional[0];
  request.k = line.positional[1];
  request.render = !line.has("no-render");
  request.format = line.value("format").value_or("png");
  request.output_dir = line.value("output-dir").value_or("");
  request.quiet = line.has("quiet");
  request.reading = call.reading;
  request.html = line.has("html");
  if (const status read = read_examples(line, request.examples); !read.ok()) {
    return call.fail(read);
  }
  if (request.html && embedded_view_assets() == nullptr) {
    return call.fail(status(status_code::bad_argument, "this build writes no HTML view"));
  }
  if (request.format != "png" && request.format != "svg" && request.format != "pdf") {
    return call.fail(status(status_code::bad_argument,
                            "unknown format: " + request.format + " (png, svg or pdf)"));
  }
  return run_batch(request, call.out, call.err, call.environment);
}

}  // namespace logfsm
