#include "frontend/convert_command.h"

#include <ostream>
#include <string>

#include "frontend/exit_status.h"
#include "output/file_output.h"
#include "readers/log_source.h"
#include "readers/text_log.h"

namespace logfsm {

int run_convert(const command_call& call) {
  const auto fail = [&call](const status& why) { return call.fail(why); };
  const parsed_command_line& line = call.line;
  const read_options& options = call.reading;
  std::ostream& out = call.out;
  std::ostream& err = call.err;
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
  const std::size_t changed = format_text_log(log, text);
  if (out_name == "-") {
    if (!(out << text << std::flush)) {
      return fail(status(status_code::cannot_write, "Cannot write output file: -"));
    }
  } else if (const status written = write_file_atomically(out_name, text); !written.ok()) {
    return fail(written);
  }
  if (changed > 0) {
    err << "logfsm convert: " << changed << " event name" << (changed == 1 ? "" : "s")
        << " held \";\", CR or LF, written with \"_\" in their place\n";
  }
  if (!line.has("quiet")) {
    err << "logfsm convert: " << in_name << ": " << log.line_count() << " traces, "
        << log.event_count() << " events, " << log.names().size() << " event names\n";
  }
  return kExitOk;
}

}  // namespace logfsm
