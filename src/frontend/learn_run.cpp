#include "frontend/learn_run.h"

#include <filesystem>
#include <system_error>

#include "model/machine_shape.h"
#include "view/view_page.h"

namespace logfsm {
namespace {

// The stem of the output files: the log's stem, moved into `dir` when given
// (made first when missing).
std::string output_stem(const std::string& stem, const std::string& dir) {
  if (dir.empty()) return stem;
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return (std::filesystem::path(dir) / std::filesystem::path(stem).filename()).string();
}

}  // namespace

std::string learn_result::file(output_kind kind) const {
  for (const output_file& f : files) {
    if (f.kind == kind) return f.name;
  }
  return {};
}

learn_result learn_run(log_source& source, const learn_request& request) {
  learn_result result;
  event_log log;
  read_notes notes;
  const status read = read_log_source(source, log, notes);
  if (request.note) {
    for (const std::string& note : notes) request.note(note);
  }
  // In the `;` format a read error is not a failure of the run: the lines
  // read before it are the log, as at the end of the file.
  if (!read.ok() &&
      !(read.code() == status_code::cannot_read && source.format->read_error_ends_log)) {
    result.outcome = read;
    return result;
  }
  machine learned;
  // Without the view the log is not needed once learning holds its traces.
  result.outcome = request.html ? learn_log(log, request.k, request.progress, learned)
                                : learn_log(std::move(log), request.k, request.progress, learned);
  if (!result.outcome.ok()) return result;

  const std::string stem = output_stem(source.stem, request.output_dir);
  page_maker html;
  const std::string title = std::filesystem::path(stem).filename().string() + "_out_" +
                            std::to_string(request.k) + ".json";
  if (request.html) {
    // The view takes the machine's shape, which is what `logfsm view` reads
    // from the JSON file, so both give the same page.
    html = [&] {
      return make_view_page(*embedded_view_assets(), title,
                            std::filesystem::path(source.name).filename().string(),
                            shape_of(learned), log, request.examples);
    };
  }
  result.files = write_outputs(learned, stem, request.k, html);
  for (const output_file& f : result.files) {
    if (!f.written.ok() && result.outcome.ok()) result.outcome = f.written;
  }
  const std::vector<state_summary> states = learned.states();
  result.states = states.size();
  result.transitions = learned.size();
  for (const state_summary& s : states) result.accepting_states += s.accepting ? 1 : 0;
  return result;
}

void report_problems(const learn_result& result, std::ostream& to) {
  if (!result.outcome.ok() && result.files.empty()) {
    to << result.outcome.message() << std::endl;
    return;
  }
  for (const output_file& f : result.files) {
    if (!f.written.ok()) to << f.written.message() << std::endl;
  }
}

}  // namespace logfsm
