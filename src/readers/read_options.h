// How a log is read: the choices a user makes on the command line or in
// Python for the formats that need them, and the one check of them that
// every way of giving them passes. The defaults read every format as its
// usual exports write it.
#ifndef LOGFSM_READERS_READ_OPTIONS_H_
#define LOGFSM_READERS_READ_OPTIONS_H_

#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace logfsm {

struct read_options {
  // "txt", "xes", "csv" or "regex"; empty: "regex" when `regex` is given,
  // else from the file name.
  std::string input_format;

  // XES: the keys whose values, joined with "+", name an event (empty:
  // concept:name alone).
  std::vector<std::string> classifier;
  // XES: keep only events whose lifecycle:transition is one of these
  // (compared case-insensitively); events without one are kept. Empty: all.
  std::vector<std::string> lifecycle;
  // XES: order each trace's events stably by time:timestamp.
  bool sort_by_time = false;

  // CSV: the field delimiter; '\0' detects it from the header line.
  char delimiter = '\0';
  // CSV: columns by header name (case-insensitive); empty: the usual names.
  std::string case_column;
  std::vector<std::string> activity_columns;  // values joined with "+"
  std::string timestamp_column;
  // CSV: keep every case in file order instead of sorting it by time.
  bool no_sort = false;

  // CSV and XES: a strftime-style layout of the timestamps (%Y %m %d %H %M
  // %S %f %z %%); empty: ISO 8601.
  std::string timestamp_format;

  // Raw text: the patterns (RE2 syntax) that cut an event out of a line,
  // tried in order; the lines that make a trace end; the lines dropped.
  std::vector<std::string> regex;
  std::string separator;
  std::vector<std::string> skip;
};

// Fails with bad_argument when `options` cannot be used: "unknown input
// format: F (txt, xes, csv or regex)", a delimiter that is a quote or a line
// end (the message of read_delimiter), or "--input-format regex needs
// --regex PATTERN".
status check_read_options(const read_options& options);

// Reads a delimiter as it is written: "tab" (or "\t") for a tab, else one
// character other than a quote or a line end. Fails with bad_argument
// "--delimiter takes one character other than a quote or a line end, or
// 'tab'".
status read_delimiter(std::string_view text, char& delimiter);

// The comma-separated items of `list`, empty ones included ("a,,b" is three
// items), as the options that take several names write them.
std::vector<std::string> split_list(std::string_view list);

}  // namespace logfsm

#endif  // LOGFSM_READERS_READ_OPTIONS_H_
