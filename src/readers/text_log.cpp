#include "readers/text_log.h"

#include <string>

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

event_log read_log(std::istream& in) {
  event_log log;
  std::string line;
  while (std::getline(in, line)) add_line(log, line);
  return log;
}

}  // namespace logfsm
