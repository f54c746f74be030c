#include "frontend/reading_options.h"

#include <string>
#include <string_view>

#include "readers/log_source.h"

namespace logfsm {
namespace {

// The comma-separated items of `list`, empty ones included.
std::vector<std::string> split_list(std::string_view list) {
  std::vector<std::string> items;
  while (true) {
    const std::size_t comma = list.find(',');
    items.emplace_back(list.substr(0, comma));
    if (comma == std::string_view::npos) return items;
    list.remove_prefix(comma + 1);
  }
}

status bad(std::string why) { return status(status_code::bad_argument, std::move(why)); }

}  // namespace

const char kReadingOptionsHelp[] =
    "  --input-format F     txt, xes, csv or regex (default: from the name:\n"
    "                       .txt, .xes, .xes.gz, .csv, .csv.gz; regex with --regex)\n"
    "  --classifier KEYS    XES: name events by these keys' values joined by +\n"
    "                       (default concept:name)\n"
    "  --lifecycle VALUES   XES: keep only events of these lifecycle:transition\n"
    "                       values (e.g. complete)\n"
    "  --sort-by-time       XES: order each trace's events by time:timestamp\n"
    "  --delimiter C        CSV: the field delimiter (default: from the header)\n"
    "  --case-column NAME   CSV: the column of the case\n"
    "  --activity-column NAMES\n"
    "                       CSV: the column(s) naming the event, joined by +\n"
    "  --timestamp-column NAME\n"
    "                       CSV: the column of the time\n"
    "  --timestamp-format LAYOUT\n"
    "                       CSV, XES, raw text: e.g. '%d/%m/%Y %H:%M' (default ISO 8601)\n"
    "  --no-sort            CSV: keep every case in file order\n"
    "  --regex PATTERN      raw text: a pattern with a group (?P<event>...) and\n"
    "                       optionally (?P<case>...); repeat to try several\n"
    "  --separator PATTERN  raw text: lines that end a trace\n"
    "  --skip PATTERN       raw text: lines to drop (repeatable)\n";

std::vector<option_spec> with_reading_options(std::vector<option_spec> specs) {
  for (const char* name : {"input-format", "classifier", "lifecycle", "delimiter", "case-column",
                           "activity-column", "timestamp-column", "timestamp-format", "regex",
                           "separator", "skip"}) {
    specs.push_back({name, '\0', true});
  }
  specs.push_back({"sort-by-time"});
  specs.push_back({"no-sort"});
  return specs;
}

status reading_options_from(const parsed_command_line& line, read_options& options) {
  options.input_format = line.value("input-format").value_or("");
  if (!options.input_format.empty() && format_named(options.input_format) == nullptr) {
    return bad("unknown input format: " + options.input_format + " (" + format_names() + ")");
  }
  if (const auto keys = line.value("classifier")) options.classifier = split_list(*keys);
  if (const auto values = line.value("lifecycle")) options.lifecycle = split_list(*values);
  options.sort_by_time = line.has("sort-by-time");
  if (const auto delimiter = line.value("delimiter")) {
    if (*delimiter == "tab" || *delimiter == "\\t") {
      options.delimiter = '\t';
    } else if (delimiter->size() == 1 && *delimiter != "\"" && *delimiter != "\r" &&
               *delimiter != "\n") {
      options.delimiter = (*delimiter)[0];
    } else {
      return bad("--delimiter takes one character other than a quote or a line end, or 'tab'");
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
  if (options.input_format == "regex" && options.regex.empty()) {
    return bad("--input-format regex needs --regex PATTERN");
  }
  return status();
}

}  // namespace logfsm
