// A small command-line parser with the usual conventions: long options as
// `--name value` or `--name=value`, an optional one-letter alias (`-q`),
// `--` ending the options, anything else a positional argument (a lone "-"
// included), options and positional arguments in any order.
#ifndef LOGFSM_FRONTEND_COMMAND_LINE_H_
#define LOGFSM_FRONTEND_COMMAND_LINE_H_

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/status.h"

namespace logfsm {

struct option_spec {
  std::string name;   // without the leading "--"
  char alias = '\0';  // '\0' for none
  // The name of its value in usage and help texts ("DIR"); empty for a flag,
  // which takes no value.
  std::string value;
  // What it does, for the help text: lines separated by '\n'.
  std::string help;

  bool takes_value() const { return !value.empty(); }
};

struct parsed_command_line {
  // Every option given, by name: its values in the order given ("" for a
  // flag).
  std::map<std::string, std::vector<std::string>> options;
  std::vector<std::string> positional;

  bool has(const std::string& name) const { return options.contains(name); }
  // The last value given (an option given twice takes its last value).
  std::optional<std::string> value(const std::string& name) const;
  // Every value given, for options that may be repeated; none when absent.
  std::vector<std::string> values(const std::string& name) const;
};

// Reads the value of `option` (absent: `value` unchanged) as a whole number
// from `min` to `max`. Fails with bad_argument "--OPTION takes a whole number
// from MIN to MAX" ("up to MAX" when MIN is 0).
status read_whole_number(const parsed_command_line& line, const std::string& option,
                         std::size_t min, std::size_t max, std::size_t& value);

// Fails with bad_argument and why the command line is wrong (e.g. "unknown
// option: --x"); `parsed` then holds what was read before.
status parse_command_line(const std::vector<std::string>& args,
                          const std::vector<option_spec>& specs,
                          parsed_command_line& parsed);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_COMMAND_LINE_H_
