#include "frontend/dialogue.h"

#include <fstream>
#include <optional>
#include <utility>

#include "frontend/exit_status.h"
#include "frontend/log_reader.h"
#include "frontend/parameter.h"
#include "learning/pipeline.h"
#include "model/fsm_builder.h"

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

struct log_choice {
  std::string stem;  // the name up to its last ".", directory part kept
  std::ifstream stream;
};

// Asks until a ".txt" file opens; none on "exit" or at the end of input.
std::optional<log_choice> ask_log_file(std::istream& in, std::ostream& out) {
  log_choice choice;
  while (true) {
    const std::optional<std::string> line = ask(in, out, "Enter log filename: ");
    if (!line || *line == "exit") return std::nullopt;
    switch (open_named_log(*line, choice.stream, choice.stem)) {
      case log_name_check::cannot_open:
        say(out, "No such file.");
        break;
      case log_name_check::not_txt:
        say(out, ".txt file is required");
        break;
      case log_name_check::ok:
        return choice;
    }
  }
}

// Asks until the answer is a number of 2 or more; none on "exit" or at the
// end of input.
std::optional<std::int32_t> ask_parameter(std::istream& in, std::ostream& out) {
  while (true) {
    const std::optional<std::string> line =
        ask(in, out, "Enter algorithm parameter: ");
    if (!line || *line == "exit") return std::nullopt;
    std::string problem;
    if (const std::optional<std::int32_t> k = read_k(*line, problem)) return k;
    say(out, problem);
  }
}

}  // namespace

int run_dialogue(std::istream& in, std::ostream& out, const render_function& render) {
  std::optional<log_choice> log = ask_log_file(in, out);
  if (!log) return kExitOk;
  const std::optional<std::int32_t> k = ask_parameter(in, out);
  if (!k) return kExitOk;
  log_contents contents = read_log(log->stream);
  log->stream.close();
  if (contents.traces.line_count() == 0 || contents.event_total == 0) {
    say(out, "Log is empty or the format is incorrect.");
    return kExitEmptyLog;
  }
  say(out, "Building FSM...");
  fsm_builder builder(contents.traces, *k);
  contents = log_contents();
  const pipeline_result result = run_pipeline(builder, log->stem, out);
  if (!result.failed_files.empty()) {
    for (const std::string& name : result.failed_files) {
      say(out, "Cannot write output file: " + name);
    }
    return kExitOutputFailed;
  }
  render(log->stem, *k, out);
  say(out, "Data saved in the input file directory.");
  return kExitOk;
}

}  // namespace logfsm
