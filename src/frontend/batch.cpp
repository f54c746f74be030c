#include "frontend/batch.h"

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>

#include "frontend/exit_status.h"
#include "frontend/learn_run.h"
#include "frontend/parameter.h"
#include "readers/log_source.h"

namespace logfsm {
namespace {

using clock_type = std::chrono::steady_clock;

double seconds_since(clock_type::time_point start) {
  return std::chrono::duration<double>(clock_type::now() - start).count();
}

// One progress line on a terminal, rewritten at most ten times a second.
class live_line {
 public:
  live_line(std::ostream& err, clock_type::time_point start) : err_(err), start_(start) {}

  void show(std::size_t done, std::size_t total) {
    const clock_type::time_point now = clock_type::now();
    if (done != total && now - last_ < std::chrono::milliseconds(100)) return;
    last_ = now;
    const double elapsed = seconds_since(start_);
    char text[160];
    std::snprintf(text, sizeof text, "Processed %zu of %zu traces (%.0f%%), %.0f traces/s, %.1f s",
                  done, total, total == 0 ? 100.0 : 100.0 * double(done) / double(total),
                  elapsed > 0 ? double(done) / elapsed : 0.0, elapsed);
    write(text);
  }
  void clear() { write(""); }

 private:
  void write(const std::string& text) {
    err_ << '\r' << text;
    if (text.size() < width_) err_ << std::string(width_ - text.size(), ' ') << '\r' << text;
    width_ = text.size();
    err_ << std::flush;
  }

  std::ostream& err_;
  clock_type::time_point start_;
  clock_type::time_point last_{};
  std::size_t width_ = 0;
};

}  // namespace

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
  learning.note = [&err](const std::string& note) { err << "logfsm: " << note << std::endl; };
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
    if (result.files.empty() && result.outcome.code() != status_code::empty_log) err << "logfsm: ";
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

}  // namespace logfsm
