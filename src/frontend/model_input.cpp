#include "frontend/model_input.h"

#include "readers/input_file.h"
#include "readers/log_source.h"

namespace logfsm {
namespace {

// Reads the whole file; false when it cannot be opened or read.
bool read_whole_file(const std::string& name, std::string& text) {
  input_file in;
  if (!in.open(name).ok()) return false;
  char buffer[1 << 16];
  while (const std::size_t got = in.read(buffer, sizeof buffer)) text.append(buffer, got);
  return in.error().ok();
}

}  // namespace

status load_model(const std::string& name, machine_shape& model) {
  std::string text;
  if (!read_whole_file(name, text)) {
    return status(status_code::cannot_read, name + ": cannot open or read");
  }
  const status read = read_model(text, model);
  return read.ok() ? read : status(read.code(), name + ": " + read.message());
}

status load_log(const std::string& name, const read_options& options, event_log& log,
                std::ostream& err, std::string_view prefix) {
  log_source source;
  if (!open_log_source(name, options, source, format_named("txt")).ok()) {
    return status(status_code::cannot_read, name + ": cannot open");
  }
  read_notes notes;
  const status read = read_log_source(source, log, notes);
  for (const std::string& note : notes) err << prefix << note << '\n';
  return read;
}

}  // namespace logfsm
