#include "frontend/convert_command.h"

#include <ostream>
#include <string>

#include "frontend/exit_status.h"
#include "output/file_output.h"
#include "readers/csv_writer.h"
#include "readers/log_source.h"
#include "readers/text_log.h"

namespace logfsm {

int run_convert(const command_call& call) {
  const parsed_command_line& line = call.line;
  const std::string& in_name = line.positional[0];
  const std::string& out_name = line.positional[1];

  log_source source;
  if (const status opened = open_log_source(in_name, call.reading, source); !opened.ok()) {
    return call.fail(opened.code() == status_code::cannot_read
                    ? status(opened.code(), in_name + ": cannot open")
                    : opened);
  }
  event_log log;
  read_notes notes;
  const status read = read_log_source(source, log, notes);
  for (const std::string& note : notes) call.err << "logfsm convert: " << note << '\n';
  if (!read.ok()) return call.fail(read);

  std::string text;
  const auto write = out_name.ends_with(".csv") ? write_csv_log : write_text_log;
  const std::vector<std::string> changes = write(log, text);
  if (out_name == "-") {
    if (!(call.out << text << std::flush)) {
      return call.fail(status(status_code::cannot_write, "Cannot write output file: -"));
    }
  } else if (const status written = write_file_atomically(out_name, text); !written.ok()) {
    return call.fail(written);
  }
  for (const std::string& change : changes) call.err << "logfsm convert: " << change << '\n';
  if (!line.has("quiet")) {
    call.err << "logfsm convert: " << in_name << ": " << log.line_count() << " traces, "
        << log.event_count() << " events, " << log.names().size() << " event names\n";
  }
  return kExitOk;
}

}  // namespace logfsm
