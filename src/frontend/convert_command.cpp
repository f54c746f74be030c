#include "frontend/convert_command.h"

#include "frontend/command_line.h"
#include "frontend/exit_status.h"
#include "frontend/reading_options.h"
#include "output/file_output.h"
#include "readers/csv_writer.h"
#include "readers/log_source.h"
#include "readers/text_log.h"

namespace logfsm {
namespace {

constexpr char kConvertUsage[] =
    "usage: logfsm convert [reading options] [-q] IN OUT.txt|OUT.csv\n";
constexpr char kConvertHelp[] =
    "Reads the log IN in any format logfsm reads and writes its traces to\n"
    "OUT.txt (\"-\" for standard output) as a text log: one trace per line,\n"
    "every event ended by \";\". Learning from OUT.txt gives the same files as\n"
    "learning from IN, unless an event name held \";\", CR or LF: those are\n"
    "written as \"_\", and standard error says how many names were changed.\n"
    "OUT.csv gets an event table instead (case:concept:name, concept:name,\n"
    "time:timestamp; times in UTC), which reads back to the same traces, case\n"
    "ids and times; empty traces are left out.\n"
    "\n"
    "options:\n"
    "  -q, --quiet          no summary line\n"
    "  -h, --help           show this text\n"
    "\n"
    "reading options:\n";
constexpr char kConvertExit[] =
    "\n"
    "exit status: 0 done; 2 wrong command line; 3 OUT could not be written;\n"
    "4 IN cannot be opened or read.\n";

}  // namespace

int run_convert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const auto fail = [&err](const status& why) {
    err << "logfsm convert: " << why.message() << '\n';
    if (why.code() == status_code::bad_argument) err << kConvertUsage;
    return exit_status_for(why.code());
  };
  parsed_command_line line;
  status parsed =
      parse_command_line(args, with_reading_options({{"quiet", 'q'}, {"help", 'h'}}), line);
  read_options options;
  if (parsed.ok()) parsed = reading_options_from(line, options);
  if (parsed.ok() && line.has("help")) {
    out << kConvertUsage << '\n' << kConvertHelp << kReadingOptionsHelp << kConvertExit;
    return kExitOk;
  }
  if (parsed.ok() && line.positional.size() != 2) {
    parsed = status(status_code::bad_argument,
                    line.positional.size() < 2 ? "IN and OUT are needed" : "too many arguments");
  }
  if (!parsed.ok()) return fail(parsed);
  const std::string& in_name = line.positional[0];
  const std::string& out_name = line.positional[1];

  log_source source;
  if (const status opened = open_log_source(in_name, options, source); !opened.ok()) {
    return fail(opened.code() == status_code::cannot_read
                    ? status(opened.code(), in_name + ": cannot open")
                    : opened);
  }
  event_log log;
  read_notes notes;
  const status read = read_log_source(source, log, notes);
  for (const std::string& note : notes) err << "logfsm convert: " << note << '\n';
  if (!read.ok()) return fail(read);

  std::string text;
  const auto write = out_name.ends_with(".csv") ? write_csv_log : write_text_log;
  const std::vector<std::string> changes = write(log, text);
  if (out_name == "-") {
    if (!(out << text << std::flush)) {
      return fail(status(status_code::cannot_write, "Cannot write output file: -"));
    }
  } else if (const status written = write_file_atomically(out_name, text); !written.ok()) {
    return fail(written);
  }
  for (const std::string& change : changes) err << "logfsm convert: " << change << '\n';
  if (!line.has("quiet")) {
    err << "logfsm convert: " << in_name << ": " << log.line_count() << " traces, "
        << log.event_count() << " events, " << log.names().size() << " event names\n";
  }
  return kExitOk;
}

}  // namespace logfsm
