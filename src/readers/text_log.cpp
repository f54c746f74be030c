#include "readers/text_log.h"

#include <vector>

#include "readers/line_reader.h"

namespace logfsm {
namespace {

void add_line(event_log& log, std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::size_t end;
  while ((end = line.find(';')) != std::string_view::npos) {
    log.add_event(line.substr(0, end));
    line.remove_prefix(end + 1);
  }
  log.end_line();
}

}  // namespace

event_log parse_log(std::string_view text) {
  event_log log;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    add_line(log, text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return log;
}

status read_text_log(input_file& in, const read_options& /*options*/, event_log& log,
                     read_notes& /*notes*/) {
  line_reader lines(in);
  std::string_view line;
  while (lines.next(line)) add_line(log, line);
  return in.error();
}

std::size_t format_text_log(const event_log& log, std::string& text) {
  // Each name once, made writable.
  std::vector<std::string> written(log.names());
  std::size_t changed = 0;
  for (std::string& name : written) {
    bool any = false;
    for (char& c : name) {
      if (c == ';' || c == '\r' || c == '\n') {
        c = '_';
        any = true;
      }
    }
    changed += any ? 1 : 0;
  }
  for (std::size_t i = 0; i < log.line_count(); ++i) {
    for (const std::uint32_t n : log.line(i)) text.append(written[n]).push_back(';');
    text.push_back('\n');
  }
  return changed;
}

std::vector<std::string> write_text_log(const event_log& log, std::string& text) {
  const std::size_t changed = format_text_log(log, text);
  if (changed == 0) return {};
  return {std::to_string(changed) + " event name" + (changed == 1 ? "" : "s") +
          " held \";\", CR or LF, written with \"_\" in their place"};
}

}  // namespace logfsm
