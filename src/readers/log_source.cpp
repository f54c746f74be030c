#include "readers/log_source.h"

#include <filesystem>
#include <system_error>

#include "readers/text_log.h"

namespace logfsm {
namespace {

// Every format logfsm reads. A name is matched against the extensions in
// this order, so a longer extension must come before any that ends it.
constexpr log_format kFormats[] = {
    {"txt", ".txt", read_log},
};

}  // namespace

const log_format* format_for_file(std::string_view file_name) {
  for (const log_format& format : kFormats) {
    if (file_name.ends_with(format.extension)) return &format;
  }
  return nullptr;
}

const log_format* format_named(std::string_view name) {
  for (const log_format& format : kFormats) {
    if (format.name == name) return &format;
  }
  return nullptr;
}

bool open_input(const std::string& name, std::ifstream& stream) {
  stream.close();
  std::error_code ec;
  if (std::filesystem::is_directory(name, ec)) return false;
  stream.open(name, std::ios::in | std::ios::binary);
  return stream.is_open();
}

status open_log_source(const std::string& name, log_source& source,
                       const log_format* fallback) {
  source.name = name;
  source.format = format_for_file(name);
  source.stem = source.format != nullptr
                    ? name.substr(0, name.size() - source.format->extension.size())
                    : name.substr(0, name.rfind('.'));
  if (!open_input(name, source.stream)) {
    return status(status_code::cannot_read, "No such file.");
  }
  if (source.format == nullptr) source.format = fallback;
  if (source.format == nullptr) {
    return status(status_code::bad_argument, ".txt file is required");
  }
  return status();
}

status read_log_source(log_source& source, event_log& log) {
  log = source.format->read(source.stream);
  const bool failed = source.stream.bad();
  source.stream.close();
  if (failed) return status(status_code::cannot_read, "cannot read");
  return status();
}

}  // namespace logfsm
