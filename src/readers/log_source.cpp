#include "readers/log_source.h"

#include "readers/csv_log.h"
#include "readers/regex_log.h"
#include "readers/text_log.h"
#include "readers/xes_log.h"

namespace logfsm {
namespace {

// Every format logfsm reads. A name is matched against the extensions in
// this order, so a longer extension must come before any that ends it.
constexpr log_format kFormats[] = {
    {"txt", {".txt", ""}, read_text_log, true},
    {"xes", {".xes.gz", ".xes"}, read_xes_log},
    {"csv", {".csv.gz", ".csv"}, read_csv_log},
    {"regex", {"", ""}, read_regex_log},
};

std::string_view matching_extension(const log_format& format, std::string_view file_name) {
  for (const std::string_view extension : format.extensions) {
    if (!extension.empty() && file_name.ends_with(extension)) return extension;
  }
  return {};
}

// The name without the extension of the format that its end selects, or
// else without the part of its last component from the last ".".
std::string stem_of(const std::string& name) {
  if (const log_format* format = format_for_file(name)) {
    return name.substr(0, name.size() - matching_extension(*format, name).size());
  }
  const std::size_t slash = name.find_last_of("/\\");
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return name;
  return name.substr(0, dot);
}

}  // namespace

const log_format* format_for_file(std::string_view file_name) {
  for (const log_format& format : kFormats) {
    if (!matching_extension(format, file_name).empty()) return &format;
  }
  return nullptr;
}

const log_format* format_named(std::string_view name) {
  for (const log_format& format : kFormats) {
    if (format.name == name) return &format;
  }
  return nullptr;
}

std::string format_names() {
  std::string names;
  const std::size_t count = std::size(kFormats);
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) names += i + 1 == count ? " or " : ", ";
    names += kFormats[i].name;
  }
  return names;
}

status open_log_source(const std::string& name, const read_options& options,
                       log_source& source, const log_format* fallback) {
  source.name = name;
  source.stem = stem_of(name);
  source.options = options;
  if (!options.input_format.empty()) {
    source.format = format_named(options.input_format);
  } else if (!options.regex.empty()) {
    source.format = format_named("regex");
  } else {
    source.format = format_for_file(name);
  }
  if (const status opened = source.file.open(name); !opened.ok()) return opened;
  if (source.format == nullptr) source.format = fallback;
  if (source.format == nullptr) {
    source.file.close();
    return status(status_code::bad_argument,
                  name + ": cannot tell the log format from the name (.txt, .xes, .xes.gz, "
                         ".csv, .csv.gz); give --input-format or --regex");
  }
  return status();
}

status read_log_source(log_source& source, event_log& log, read_notes& notes) {
  read_notes found;
  const status read = source.format->read(source.file, source.options, log, found);
  source.file.close();
  for (const std::string& note : found) notes.push_back(source.name + ": " + note);
  if (read.ok()) return read;
  return status(read.code(), source.name + ": " + read.message());
}

}  // namespace logfsm
