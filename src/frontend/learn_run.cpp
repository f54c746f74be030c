#include "frontend/learn_run.h"

#include <filesystem>
#include <system_error>

#include "checking/model_file.h"
#include "model/fsm_builder.h"
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
  if (log.line_count() == 0 || log.event_count() == 0) {
    result.outcome =
        status(status_code::empty_log, "Log is empty or the format is incorrect.");
    return result;
  }
  if (request.progress.building) request.progress.building();
  fsm_builder builder(log, request.k);
  if (!request.html) log = event_log();  // the builder holds the traces now
  learn(builder, request.progress);

  const std::string stem = output_stem(source.stem, request.output_dir);
  from_json_text html;
  const std::string title = std::filesystem::path(stem).filename().string() + "_out_" +
                            std::to_string(request.k) + ".json";
  if (request.html) {
    // The view reads the machine back from its JSON text, as `logfsm view`
    // reads the file, so both give the same page.
    html = [&](std::string_view json) {
      model_file model;
      (void)read_model(json, model);  // the writer's text always reads back
      return make_view_page(*embedded_view_assets(), title,
                            std::filesystem::path(source.name).filename().string(), model, log,
                            request.examples);
    };
  }
  result.files = write_outputs(builder.transitions, stem, request.k, html);
  for (const output_file& f : result.files) {
    if (!f.written.ok() && result.outcome.ok()) result.outcome = f.written;
  }
  const std::vector<state_summary> states = builder.transitions.states();
  result.states = states.size();
  result.transitions = builder.transitions.size();
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
