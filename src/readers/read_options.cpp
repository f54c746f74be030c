#include "readers/read_options.h"

#include <utility>

#include "readers/log_source.h"

namespace logfsm {
namespace {

status bad(std::string why) { return status(status_code::bad_argument, std::move(why)); }

// A CSV field delimiter cannot be the quote or end a record.
bool usable_delimiter(char c) { return c != '"' && c != '\r' && c != '\n'; }

status bad_delimiter() {
  return bad(
      "--delimiter takes one character other than a quote or a line end, or 'tab'");
}

}  // namespace

status check_read_options(const read_options& options) {
  if (!options.input_format.empty() && format_named(options.input_format) == nullptr) {
    return bad("unknown input format: " + options.input_format + " (" + format_names() +
               ")");
  }
  if (options.delimiter != '\0' && !usable_delimiter(options.delimiter))
    return bad_delimiter();
  if (options.input_format == "regex" && options.regex.empty()) {
    return bad("--input-format regex needs --regex PATTERN");
  }
  return status();
}

status read_delimiter(std::string_view text, char& delimiter) {
  if (text == "tab" || text == "\\t") {
    delimiter = '\t';
    return status();
  }
  if (text.size() != 1 || !usable_delimiter(text[0])) return bad_delimiter();
  delimiter = text[0];
  return status();
}

std::vector<std::string> split_list(std::string_view list) {
  std::vector<std::string> items;
  while (true) {
    const std::size_t comma = list.find(',');
    items.emplace_back(list.substr(0, comma));
    if (comma == std::string_view::npos) return items;
    list.remove_prefix(comma + 1);
  }
}

}  // namespace logfsm
