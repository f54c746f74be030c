#include "frontend/dialogue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "frontend/exit_status.h"
#include "frontend/learn_run.h"
#include "frontend/parameter.h"
#include "readers/log_source.h"

namespace logfsm {
namespace {

void say(std::ostream& out, std::string_view message) {
  out << message << std::endl;
}

// Prints `prompt` and reads one answer line; none at the end of input. A CR
// before the line end is dropped, as on consoles that send CR LF.
std::optional<std::string> ask(std::istream& in, std::ostream& out,
                               std::string_view prompt) {
  out << prompt << std::flush;
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

// Asks until a ".txt" file opens, which stays open in `log`; false on "exit"
// or at the end of input.
bool ask_log_file(std::istream& in, std::ostream& out, log_source& log) {
  read_options text_log;
  text_log.input_format = "txt";
  while (true) {
    const std::optional<std::string> line = ask(in, out, "Enter log filename: ");
    if (!line || *line == "exit") return false;
    // Opening comes first, so a missing file is missing whatever its name.
    const status opened = open_log_source(*line, text_log, log);
    if (opened.ok() && line->ends_with(".txt")) return true;
    say(out, opened.ok() ? ".txt file is required" : opened.message());
  }
}

// Asks until the answer is a number of 2 or more; none on "exit" or at the
// end of input.
std::optional<std::int32_t> ask_parameter(std::istream& in, std::ostream& out) {
  while (true) {
    const std::optional<std::string> line =
        ask(in, out, "Enter algorithm parameter: ");
    if (!line || *line == "exit") return std::nullopt;
    std::int32_t k = 0;
    const status read = read_k(*line, k);
    if (read.ok()) return k;
    say(out, read.message());
  }
}

}  // namespace

int run_dialogue(std::istream& in, std::ostream& out, std::ostream& err,
                 const render_function& render) {
  log_source log;
  if (!ask_log_file(in, out, log)) return kExitOk;
  const std::optional<std::int32_t> k = ask_parameter(in, out);
  if (!k) return kExitOk;
  learn_request request;
  request.k = *k;
  request.progress = progress_lines(out);
  request.progress.building = [&out] { say(out, "Building FSM..."); };
  const learn_result result = learn_run(log, request);
  if (!result.outcome.ok()) {
    report_problems(result, out);
    return exit_status_for(result.outcome.code());
  }
  if (const unsigned long error = render(result.file(output_kind::dot), "png");
      error != 0) {
    out << error << std::endl;
    err << "logfsm: could not start Graphviz dot (error " << error
        << "); install Graphviz to get the PNG image\n";
  }
  say(out, "Data saved in the input file directory.");
  return kExitOk;
}

}  // namespace logfsm
