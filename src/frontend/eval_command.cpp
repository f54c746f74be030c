#include "frontend/eval_command.h"

#include <cstddef>
#include <optional>
#include <sstream>
#include <thread>

#include "evaluation/evaluation.h"
#include "frontend/command_line.h"
#include "frontend/exit_status.h"
#include "frontend/live_line.h"
#include "frontend/model_input.h"
#include "frontend/reading_options.h"
#include "output/file_output.h"

namespace logfsm {
namespace {

constexpr char kEvalUsage[] =
    "usage: logfsm eval [--k LIST] [--folds F] [--negatives LOG2] [--json] [--plot "
    "FILE.svg]\n"
    "                   [--jobs N] [-q] [reading options] LOG\n";
constexpr char kEvalHelp[] =
    "Learns a machine at every k of LIST from all traces but one fold and\n"
    "replays the traces of that fold on it, for each of F folds: fold f holds\n"
    "the traces whose 0-based position i in LOG (empty lines included) has\n"
    "i mod F == f. Per k it reports the recall (held-out traces accepted), the\n"
    "fit (training traces accepted by their own model), the mean size of the\n"
    "models and the time to learn and to replay one; with --negatives also the\n"
    "specificity (traces of LOG2 rejected by the model of the whole LOG) and\n"
    "the balanced classification rate. It suggests the k with the best recall\n"
    "per transition.\n"
    "\n"
    "options:\n"
    "  --k LIST             the window lengths, e.g. 2,3,4 or 2-6 (default 2-5)\n"
    "  --folds F            the number of folds, 2 or more (default 5)\n"
    "  --negatives LOG2     traces that should be rejected\n"
    "  --json               write the report as one JSON document\n"
    "  --plot FILE.svg      also draw recall and model size against k\n"
    "  --jobs N             runs at once (default: the number of cores)\n"
    "  -q, --quiet          no progress\n"
    "  -h, --help           show this text\n"
    "\n"
    "reading options (for LOG and LOG2):\n";
constexpr char kEvalExit[] =
    "\n"
    "exit status: 0 done; 1 the log holds no event, or the traces outside a\n"
    "fold hold none; 2 wrong command line; 3 the plot could not be written;\n"
    "4 a log cannot be opened or read in its format.\n";

struct eval_request {
  eval_options options;
  std::string log;
  std::optional<std::string> negatives;
  std::optional<std::string> plot;
  bool json = false;
  bool quiet = false;
  bool help = false;
  read_options reading;
};

status parse_arguments(const std::vector<std::string>& args, eval_request& request) {
  parsed_command_line line;
  status parsed = parse_command_line(args,
                                     with_reading_options({{"k", '\0', true},
                                                           {"folds", '\0', true},
                                                           {"negatives", '\0', true},
                                                           {"json"},
                                                           {"plot", '\0', true},
                                                           {"jobs", '\0', true},
                                                           {"quiet", 'q'},
                                                           {"help", 'h'}}),
                                     line);
  if (!parsed.ok()) return parsed;
  request.help = line.has("help");
  request.json = line.has("json");
  request.quiet = line.has("quiet");
  request.negatives = line.value("negatives");
  request.plot = line.value("plot");
  if (const auto ks = line.value("k")) parsed = parse_k_list(*ks, request.options.ks);
  std::size_t jobs = std::max(1u, std::thread::hardware_concurrency());
  if (parsed.ok())
    parsed = read_whole_number(line, "folds", 2, 1000000, request.options.folds);
  if (parsed.ok()) parsed = read_whole_number(line, "jobs", 1, 1024, jobs);
  request.options.jobs = static_cast<unsigned>(jobs);
  if (parsed.ok()) parsed = reading_options_from(line, request.reading);
  if (!parsed.ok() || request.help) return parsed;
  if (line.positional.size() != 1) {
    return status(status_code::bad_argument,
                  line.positional.empty() ? "LOG is needed" : "too many arguments");
  }
  request.log = line.positional[0];
  return status();
}

}  // namespace

int run_eval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const program_environment& environment) {
  const auto fail = [&err](const status& why) {
    err << "logfsm eval: " << why.message() << '\n';
    if (why.code() == status_code::bad_argument) err << kEvalUsage;
    return exit_status_for(why.code());
  };
  eval_request request;
  if (const status parsed = parse_arguments(args, request); !parsed.ok())
    return fail(parsed);
  if (request.help) {
    out << kEvalUsage << '\n' << kEvalHelp << kReadingOptionsHelp << kEvalExit;
    return kExitOk;
  }

  event_log log;
  event_log negatives;
  status loaded = load_log(request.log, request.reading, log, err, "logfsm eval: ");
  if (loaded.ok() && request.negatives) {
    loaded =
        load_log(*request.negatives, request.reading, negatives, err, "logfsm eval: ");
    request.options.negatives = &negatives;
  }
  if (!loaded.ok()) return fail(loaded);

  live_line line(err, clock_type::now(), "Learned", "models");
  const bool live = environment.live_progress && !request.quiet;
  if (live) {
    request.options.progress = [&line](std::size_t done, std::size_t total) {
      line.show(done, total);
    };
  }
  eval_report report;
  const status evaluated = evaluate(log, request.options, report);
  if (live) line.clear();
  if (!evaluated.ok()) return fail(evaluated);

  if (request.json) {
    write_eval_json(out, report);
  } else {
    write_eval_text(out, report);
  }
  out.flush();
  if (request.plot) {
    if (const status written =
            write_file_atomically(*request.plot, eval_plot_svg(report));
        !written.ok()) {
      return fail(written);
    }
  }
  return kExitOk;
}

}  // namespace logfsm
