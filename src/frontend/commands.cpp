#include "frontend/commands.h"

#include <string>
#include <utility>

#include "evaluation/evaluation.h"
#include "frontend/batch.h"
#include "frontend/check_command.h"
#include "frontend/command_text.h"
#include "frontend/convert_command.h"
#include "frontend/eval_command.h"
#include "frontend/reading_options.h"
#include "frontend/view_command.h"
#include "view/view_page.h"

namespace logfsm {
namespace {

// Options that more than one command takes.
option_spec quiet_option(std::string help) { return {"quiet", 'q', "", std::move(help)}; }
option_spec json_option() {
  return {"json", '\0', "", "write the report as one JSON document"};
}
option_spec examples_option() {
  return {"examples", '\0', "N",
          "trace lines the view keeps per state and transition (" +
              std::to_string(kDefaultExamples) + ")"};
}

command learn_command() {
  return {"",
          "learn from LOG with window length K",
          "Learning writes <stem>_out_<K>.dot and <stem>_out_<K>.json next to LOG\n"
          "(<stem> is LOG without its format's extension) and starts Graphviz dot\n"
          "for a picture. LOG is a text log (.txt: one trace per line, every event\n"
          "ended by \";\"), an XES log (.xes, .xes.gz), a CSV event table (.csv,\n"
          ".csv.gz), or any text log read with --regex.\n",
          {{"no-render", '\0', "", "do not start dot"},
           {"format", '\0', "FORMAT", "what dot makes: png (default), svg or pdf"},
           {"output-dir", '\0', "DIR", "write the files into DIR (made when missing)"},
           {"html", '\0', "",
            "also write <stem>_out_<K>.html, a view to explore\n"
            "in a browser, with the traces of LOG"},
           examples_option(),
           quiet_option("no progress")},
          "LOG",
          {"LOG", "K"},
          "0 done; 1 the log holds no event (check: a trace was\n"
          "rejected); 2 wrong command line; 3 an output file could not be written;\n"
          "4 an input file cannot be opened or read in its format; 5 the model is\n"
          "not a logfsm machine.\n",
          run_learn};
}

command check_command() {
  return {"check",
          "replay LOG on a learned machine",
          "Replays every line of LOG on the machine that logfsm wrote to MODEL.json\n"
          "and explains each rejected trace: where it left the machine and which\n"
          "events were allowed there. LOG is read like a log to learn from, in any\n"
          "format (a name of no known format is read as .txt).\n",
          {json_option()},
          "LOG",
          {"MODEL.json", "LOG"},
          "0 every trace accepted; 1 some trace rejected; 2 wrong\n"
          "command line; 4 a file cannot be opened or read; 5 MODEL.json is not a\n"
          "logfsm machine.\n",
          run_check};
}

command convert_command() {
  return {"convert",
          "write a log as a text log or a CSV table",
          "Reads the log IN in any format logfsm reads and writes its traces to OUT\n"
          "(\"-\" for standard output). OUT.txt gets a text log: one trace per line,\n"
          "every event ended by \";\". Learning from it gives the same files as\n"
          "learning from IN, unless an event name held \";\", CR or LF: those are\n"
          "written as \"_\", and standard error says how many names were changed.\n"
          "OUT.csv gets an event table instead (case:concept:name, concept:name,\n"
          "time:timestamp; times in UTC), which reads back to the same traces, case\n"
          "ids and times; empty traces are left out.\n",
          {quiet_option("no summary line")},
          "IN",
          {"IN", "OUT"},
          "0 done; 2 wrong command line; 3 OUT could not be\n"
          "written; 4 IN cannot be opened or read.\n",
          run_convert};
}

command view_command() {
  return {"view",
          "an HTML view of a machine and a log",
          "Writes one self-contained HTML file that draws the machine of MODEL.json\n"
          "(laid out by Graphviz in the page) with how many traces of LOG use each\n"
          "state and transition, the traces behind them, and where rejected traces\n"
          "leave the machine. It opens from disk in a browser, with no network.\n",
          {{"output", 'o', "FILE", "the HTML file (default: MODEL without .json, .html)"},
           examples_option(),
           quiet_option("no summary line")},
          "LOG",
          {"MODEL.json", "LOG"},
          "0 done; 2 wrong command line, or a build without the\n"
          "view; 3 FILE could not be written; 4 a file cannot be opened or read;\n"
          "5 MODEL.json is not a logfsm machine.\n",
          run_view};
}

command eval_command() {
  return {
      "eval",
      "choose K from held-out traces",
      "Learns a machine at every k of LIST from all traces but one fold and\n"
      "replays the traces of that fold on it, for each of F folds: fold f holds\n"
      "the traces whose 0-based position i in LOG (empty lines included) has\n"
      "i mod F == f. Per k it reports the recall (held-out traces accepted), the\n"
      "fit (training traces accepted by their own model), the mean size of the\n"
      "models and the time to learn and to replay one; with --negatives also the\n"
      "specificity (traces of LOG2 rejected by the model of the whole LOG) and\n"
      "the balanced classification rate. It suggests the k with the best recall\n"
      "per transition.\n",
      {{"k", '\0', "LIST", "the window lengths, e.g. 2,3,4 or 2-6 (default 2-5)"},
       {"folds", '\0', "F",
        "the number of folds, 2 or more (default " + std::to_string(kDefaultFolds) + ")"},
       {"negatives", '\0', "LOG2", "traces that should be rejected"},
       json_option(),
       {"plot", '\0', "FILE.svg", "also draw recall and model size against k"},
       {"jobs", '\0', "N", "runs at once (default: the number of cores)"},
       quiet_option("no progress")},
      "LOG and LOG2",
      {"LOG"},
      "0 done; 1 the log holds no event, or the traces outside a\n"
      "fold hold none; 2 wrong command line; 3 the plot could not be written;\n"
      "4 a log cannot be opened or read in its format.\n",
      run_eval};
}

}  // namespace

int command_call::fail(const status& why) const { return report_failure(row, why, err); }

const std::vector<command>& commands() {
  static const std::vector<command> table = {learn_command(), check_command(),
                                             convert_command(), view_command(),
                                             eval_command()};
  return table;
}

const command* find_command(std::string_view word) {
  for (const command& row : commands()) {
    if (!row.name.empty() && row.name == word) return &row;
  }
  return nullptr;
}

std::vector<option_spec> listed_options(const command& row) {
  std::vector<option_spec> listed = row.options;
  listed.push_back({"help", 'h', "", "show this text"});
  if (row.name.empty()) listed.push_back({"version", '\0', "", "show the version"});
  return listed;
}

std::vector<option_spec> accepted_options(const command& row) {
  std::vector<option_spec> accepted = listed_options(row);
  if (!row.reads.empty()) {
    const std::vector<option_spec>& reading = reading_option_specs();
    accepted.insert(accepted.end(), reading.begin(), reading.end());
  }
  return accepted;
}

}  // namespace logfsm
