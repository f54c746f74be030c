#include "frontend/program.h"

#include "frontend/batch.h"
#include "frontend/check_command.h"
#include "frontend/command_line.h"
#include "frontend/convert_command.h"
#include "frontend/dialogue.h"
#include "frontend/eval_command.h"
#include "frontend/exit_status.h"
#include "frontend/reading_options.h"
#include "frontend/terminal.h"
#include "frontend/view_command.h"
#include "output/renderer.h"
#include "view/assets.h"

#ifndef LOGFSM_VERSION
#define LOGFSM_VERSION "0"
#endif

namespace logfsm {

const char kUsage[] =
    "usage: logfsm                          hold the console dialogue\n"
    "       logfsm [options] LOG K          learn from LOG with window length K\n"
    "       logfsm check [--json] [reading options] MODEL.json LOG\n"
    "                                       replay LOG on a learned machine\n"
    "       logfsm convert [reading options] IN OUT.txt\n"
    "                                       write a log as a text log\n"
    "       logfsm view [reading options] MODEL.json LOG [-o OUT.html]\n"
    "                                       an HTML view of a machine and a log\n"
    "       logfsm eval [options] [reading options] LOG\n"
    "                                       choose K from held-out traces\n"
    "\n"
    "Learning writes <stem>_out_<K>.dot and <stem>_out_<K>.json next to LOG\n"
    "(<stem> is LOG without its format's extension) and starts Graphviz dot\n"
    "for a picture. LOG is a text log (.txt: one trace per line, every event\n"
    "ended by \";\"), an XES log (.xes, .xes.gz), a CSV event table (.csv,\n"
    ".csv.gz), or any text log read with --regex.\n"
    "\n"
    "options:\n"
    "  --no-render          do not start dot\n"
    "  --format FORMAT      what dot makes: png (default), svg or pdf\n"
    "  --output-dir DIR     write the files into DIR (made when missing)\n"
    "  --html               also write <stem>_out_<K>.html, a view to explore\n"
    "                       in a browser, with the traces of LOG\n"
    "  --examples N         trace lines the view keeps per state and transition\n"
    "  -q, --quiet          no progress\n"
    "  -h, --help           show this text\n"
    "  --version            show the version\n"
    "\n"
    "reading options:\n";

// After the reading options.
const char kUsageEnd[] =
    "\n"
    "exit status: 0 done; 1 the log holds no event (check: a trace was\n"
    "rejected); 2 wrong command line; 3 an output file could not be written;\n"
    "4 an input file cannot be opened or read in its format; 5 the model is\n"
    "not a logfsm machine.\n";

namespace {

int usage_error(std::ostream& err, const std::string& why) {
  err << "logfsm: " << why << "\n"
      << "usage: logfsm [--no-render] [--format png|svg|pdf] [--output-dir DIR] [--quiet] LOG K\n"
      << "Try 'logfsm --help' for more.\n";
  return kExitUsage;
}

}  // namespace

program_environment system_environment() { return {start_dot, stderr_is_terminal()}; }

int run_program(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err, const program_environment& environment) {
  if (args.empty()) return run_dialogue(in, out, err, environment.render);
  if (args[0] == "check") return run_check({args.begin() + 1, args.end()}, out, err);
  if (args[0] == "convert") return run_convert({args.begin() + 1, args.end()}, out, err);
  if (args[0] == "view") return run_view({args.begin() + 1, args.end()}, out, err);
  if (args[0] == "eval") {
    return run_eval({args.begin() + 1, args.end()}, out, err, environment);
  }

  parsed_command_line line;
  const status parsed = parse_command_line(args,
                                           with_reading_options({{"no-render"},
                                                                 {"format", '\0', true},
                                                                 {"output-dir", '\0', true},
                                                                 {"quiet", 'q'},
                                                                 {"html"},
                                                                 {"examples", '\0', true},
                                                                 {"help", 'h'},
                                                                 {"version"}}),
                                           line);
  if (!parsed.ok()) return usage_error(err, parsed.message());
  if (line.has("help")) {
    out << kUsage << kReadingOptionsHelp << kUsageEnd;
    return kExitOk;
  }
  if (line.has("version")) {
    out << "logfsm " << LOGFSM_VERSION << "\n";
    return kExitOk;
  }
  if (line.positional.size() != 2) {
    return usage_error(err, line.positional.size() < 2 ? "LOG and K are needed"
                                                       : "too many arguments");
  }
  batch_request request;
  request.log = line.positional[0];
  request.k = line.positional[1];
  request.render = !line.has("no-render");
  request.format = line.value("format").value_or("png");
  request.output_dir = line.value("output-dir").value_or("");
  request.quiet = line.has("quiet");
  if (const status read = reading_options_from(line, request.reading); !read.ok()) {
    return usage_error(err, read.message());
  }
  request.html = line.has("html");
  if (const status read = read_examples(line, request.examples); !read.ok()) {
    return usage_error(err, read.message());
  }
  if (request.html && embedded_view_assets() == nullptr) {
    return usage_error(err, "this build writes no HTML view");
  }
  if (request.format != "png" && request.format != "svg" && request.format != "pdf") {
    return usage_error(err, "unknown format: " + request.format + " (png, svg or pdf)");
  }
  return run_batch(request, out, err, environment);
}

}  // namespace logfsm
