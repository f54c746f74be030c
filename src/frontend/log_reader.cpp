#include "frontend/log_reader.h"

#include <filesystem>
#include <system_error>

namespace logfsm {
namespace {

void add_line(log_contents& log, std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::size_t end;
  while ((end = line.find(';')) != std::string_view::npos) {
    log.traces.add_event(line.substr(0, end));
    line.remove_prefix(end + 1);
    ++log.event_total;
  }
  log.traces.end_line();
}

}  // namespace

log_contents parse_log(std::string_view text) {
  log_contents log;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    add_line(log, text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return log;
}

log_contents read_log(std::istream& in) {
  log_contents log;
  std::string line;
  while (std::getline(in, line)) add_line(log, line);
  return log;
}

bool open_log(const std::string& name, std::ifstream& stream) {
  stream.close();
  std::error_code ec;
  if (std::filesystem::is_directory(name, ec)) return false;
  stream.open(name, std::ios::in | std::ios::binary);
  return stream.is_open();
}

log_name_check open_named_log(const std::string& name, std::ifstream& stream,
                              std::string& stem) {
  const std::size_t dot = name.rfind('.');
  stem = name.substr(0, dot);
  if (!open_log(name, stream)) return log_name_check::cannot_open;
  if (dot == std::string::npos || name.substr(dot) != ".txt") return log_name_check::not_txt;
  return log_name_check::ok;
}

}  // namespace logfsm
