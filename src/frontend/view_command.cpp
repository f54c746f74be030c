#include "frontend/view_command.h"

#include <filesystem>
#include <ostream>
#include <string>

#include "frontend/exit_status.h"
#include "frontend/model_input.h"
#include "output/file_output.h"
#include "view/view_page.h"

namespace logfsm {
namespace {

// MODEL's name without ".json", then ".html".
std::string default_output(const std::string& model) {
  const std::string stem =
      model.ends_with(".json") ? model.substr(0, model.size() - 5) : model;
  return stem + ".html";
}

}  // namespace

status read_examples(const parsed_command_line& line, std::size_t& examples) {
  return read_whole_number(line, "examples", 0, 1000000, examples);
}

int run_view(const command_call& call) {
  const parsed_command_line& line = call.line;
  std::size_t examples = kDefaultExamples;
  if (const status read = read_examples(line, examples); !read.ok()) return call.fail(read);
  const view_assets* assets = embedded_view_assets();
  if (assets == nullptr) {
    return call.fail(status(status_code::bad_argument, "this build writes no HTML view"));
  }
  const std::string& model_name = line.positional[0];
  const std::string& log_name = line.positional[1];
  const std::string output = line.value("output").value_or(default_output(model_name));

  machine_shape model;
  event_log log;
  status loaded = load_model(model_name, model);
  if (loaded.ok()) loaded = load_log(log_name, call.reading, log, call.err, "logfsm view: ");
  if (!loaded.ok()) return call.fail(loaded);

  // The page names its files without their folders, as they are mailed.
  const std::string page = make_view_page(
      *assets, std::filesystem::path(model_name).filename().string(),
      std::filesystem::path(log_name).filename().string(), model, log, examples);
  if (const status written = write_file_atomically(output, page); !written.ok()) {
    return call.fail(written);
  }
  if (!line.has("quiet")) call.out << output << '\n';
  return kExitOk;
}

}  // namespace logfsm
