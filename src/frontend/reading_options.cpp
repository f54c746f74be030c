#include "frontend/reading_options.h"

#include <string>

namespace logfsm {

const std::vector<option_spec>& reading_option_specs() {
  static const std::vector<option_spec> specs = {
      {"input-format", '\0', "F",
       "txt, xes, csv or regex (default: from the name:\n"
       ".txt, .xes, .xes.gz, .csv, .csv.gz; regex with --regex)"},
      {"classifier", '\0', "KEYS",
       "XES: name events by these keys' values joined by +\n(default concept:name)"},
      {"lifecycle", '\0', "VALUES",
       "XES: keep only events of these lifecycle:transition\nvalues (e.g. complete)"},
      {"sort-by-time", '\0', "", "XES: order each trace's events by time:timestamp"},
      {"delimiter", '\0', "C", "CSV: the field delimiter (default: from the header)"},
      {"case-column", '\0', "NAME", "CSV: the column of the case"},
      {"activity-column", '\0', "NAMES",
       "CSV: the column(s) naming the event, joined by +"},
      {"timestamp-column", '\0', "NAME", "CSV: the column of the time"},
      {"timestamp-format", '\0', "LAYOUT",
       "CSV, XES, raw text: e.g. '%d/%m/%Y %H:%M' (default\nISO 8601)"},
      {"no-sort", '\0', "", "CSV: keep every case in file order"},
      {"regex", '\0', "PATTERN",
       "raw text: a pattern with a group (?P<event>...) and\n"
       "optionally (?P<case>...) and (?P<time>...); repeat to\ntry several"},
      {"separator", '\0', "PATTERN", "raw text: lines that end a trace"},
      {"skip", '\0', "PATTERN", "raw text: lines to drop (repeatable)"},
  };
  return specs;
}

status reading_options_from(const parsed_command_line& line, read_options& options) {
  options.input_format = line.value("input-format").value_or("");
  if (const auto keys = line.value("classifier")) options.classifier = split_list(*keys);
  if (const auto values = line.value("lifecycle")) options.lifecycle = split_list(*values);
  options.sort_by_time = line.has("sort-by-time");
  if (const auto delimiter = line.value("delimiter")) {
    if (const status read = read_delimiter(*delimiter, options.delimiter); !read.ok()) {
      return read;
    }
  }
  options.case_column = line.value("case-column").value_or("");
  if (const auto names = line.value("activity-column")) {
    options.activity_columns = split_list(*names);
  }
  options.timestamp_column = line.value("timestamp-column").value_or("");
  options.timestamp_format = line.value("timestamp-format").value_or("");
  options.no_sort = line.has("no-sort");
  options.regex = line.values("regex");
  options.separator = line.value("separator").value_or("");
  options.skip = line.values("skip");
  return check_read_options(options);
}

}  // namespace logfsm
