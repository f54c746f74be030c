#include "frontend/batch.h"

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>
#include <vector>

#include "frontend/exit_status.h"
#include "frontend/log_reader.h"
#include "frontend/parameter.h"
#include "learning/pipeline.h"
#include "model/fsm_builder.h"

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

// The stem of the output files: the log's stem, moved into `dir` when given
// (made first when missing; a failure shows when the files are written).
std::string prepare_output_stem(const std::string& stem, const std::string& dir) {
  if (dir.empty()) return stem;
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return (std::filesystem::path(dir) / std::filesystem::path(stem).filename()).string();
}

}  // namespace

int run_batch(const batch_request& request, std::ostream& out, std::ostream& err,
              const batch_environment& environment) {
  const clock_type::time_point start = clock_type::now();
  std::ifstream stream;
  std::string stem;
  switch (open_named_log(request.log, stream, stem)) {
    case log_name_check::cannot_open:
      err << "No such file." << std::endl;
      return kExitNoInput;
    case log_name_check::not_txt:
      err << ".txt file is required" << std::endl;
      return kExitUsage;
    case log_name_check::ok:
      break;
  }
  std::string problem;
  const std::optional<std::int32_t> k = read_k(request.k, problem);
  if (!k) {
    err << problem << std::endl;
    return kExitUsage;
  }
  log_contents contents = read_log(stream);
  stream.close();
  if (contents.traces.line_count() == 0 || contents.event_total == 0) {
    err << "Log is empty or the format is incorrect." << std::endl;
    return kExitEmptyLog;
  }
  fsm_builder builder(contents.traces, *k);
  contents = log_contents();

  live_line line(err, start);
  progress_sink progress;
  if (request.quiet) {
    // nothing
  } else if (environment.live_progress) {
    progress.trace_done = [&line](std::size_t done, std::size_t total) { line.show(done, total); };
  } else {
    progress = progress_lines(out);
  }
  const pipeline_result result =
      run_pipeline(builder, prepare_output_stem(stem, request.output_dir), progress);
  if (environment.live_progress && !request.quiet) line.clear();
  if (!result.failed_files.empty()) {
    for (const std::string& name : result.failed_files) {
      err << "Cannot write output file: " << name << std::endl;
    }
    return kExitOutputFailed;
  }
  if (request.render && environment.start_dot) {
    environment.start_dot(result.dot_file, request.format, err);
  }
  std::size_t accepting = 0;
  const std::vector<state_summary> states = builder.transitions.states();
  for (const state_summary& s : states) accepting += s.accepting ? 1 : 0;
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.2f", seconds_since(start));
  out << result.dot_file << ", " << result.json_file << ": " << states.size() << " states, "
      << builder.transitions.size() << " transitions, " << accepting << " accepting states, "
      << seconds << " s" << std::endl;
  return kExitOk;
}

}  // namespace logfsm
