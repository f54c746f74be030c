#include "frontend/view_command.h"

#include <filesystem>

#include "frontend/exit_status.h"
#include "frontend/model_input.h"
#include "frontend/reading_options.h"
#include "output/file_output.h"
#include "view/view_page.h"

namespace logfsm {
namespace {

constexpr char kViewUsage[] =
    "usage: logfsm view [reading options] [--examples N] MODEL.json LOG [-o OUT.html]\n";
constexpr char kViewHelp[] =
    "Writes one self-contained HTML file that draws the machine of MODEL.json\n"
    "(laid out by Graphviz in the page) with how many traces of LOG use each\n"
    "state and transition, the traces behind them, and where rejected traces\n"
    "leave the machine. It opens from disk in a browser, with no network.\n"
    "\n"
    "options:\n"
    "  -o, --output FILE    the HTML file (default: MODEL without .json, .html)\n"
    "  --examples N         trace lines kept per state and transition (20)\n"
    "  -q, --quiet          no summary line\n"
    "  -h, --help           show this text\n"
    "\n"
    "reading options (for LOG):\n";
constexpr char kViewExit[] =
    "\n"
    "exit status: 0 done; 2 wrong command line, or a build without the view;\n"
    "3 OUT could not be written; 4 a file cannot be opened or read; 5\n"
    "MODEL.json is not a logfsm machine.\n";

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

int run_view(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const auto fail = [&err](const status& why) {
    err << "logfsm view: " << why.message() << '\n';
    if (why.code() == status_code::bad_argument) err << kViewUsage;
    return exit_status_for(why.code());
  };
  parsed_command_line line;
  status parsed = parse_command_line(args,
                                     with_reading_options({{"output", 'o', true},
                                                           {"examples", '\0', true},
                                                           {"quiet", 'q'},
                                                           {"help", 'h'}}),
                                     line);
  read_options options;
  std::size_t examples = kDefaultExamples;
  if (parsed.ok()) parsed = reading_options_from(line, options);
  if (parsed.ok()) parsed = read_examples(line, examples);
  if (parsed.ok() && line.has("help")) {
    out << kViewUsage << '\n' << kViewHelp << kReadingOptionsHelp << kViewExit;
    return kExitOk;
  }
  if (parsed.ok() && line.positional.size() != 2) {
    parsed = status(status_code::bad_argument, line.positional.size() < 2
                                                   ? "MODEL.json and LOG are needed"
                                                   : "too many arguments");
  }
  if (!parsed.ok()) return fail(parsed);
  const view_assets* assets = embedded_view_assets();
  if (assets == nullptr) {
    return fail(status(status_code::bad_argument, "this build writes no HTML view"));
  }
  const std::string& model_name = line.positional[0];
  const std::string& log_name = line.positional[1];
  const std::string output = line.value("output").value_or(default_output(model_name));

  machine_shape model;
  event_log log;
  status loaded = load_model(model_name, model);
  if (loaded.ok()) loaded = load_log(log_name, options, log, err, "logfsm view: ");
  if (!loaded.ok()) return fail(loaded);

  // The page names its files without their folders, as they are mailed.
  const std::string page = make_view_page(
      *assets, std::filesystem::path(model_name).filename().string(),
      std::filesystem::path(log_name).filename().string(), model, log, examples);
  if (const status written = write_file_atomically(output, page); !written.ok()) {
    return fail(written);
  }
  if (!line.has("quiet")) out << output << '\n';
  return kExitOk;
}

}  // namespace logfsm
