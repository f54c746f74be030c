// Event tables: one event per row, read by columns chosen by name from a
// header (a CSV file's, a data frame's): the case, the activity (or several,
// their values joined with "+") and perhaps the timestamp. Rows are grouped
// into cases in order of each case's first row, and each case is put in time
// order by the readers' policy (readers/time_order.h). Messages and notes
// name the table's places and options in the words its caller gives.
//
// Columns are compared case-insensitively after trimming blanks (the first
// of equal names). Unless named in the options, the case is the first of
// case:concept:name, case_id, case id, caseid and case that the header
// holds; the activity the first of concept:name, activity, activity_name and
// event; the timestamp the first of time:timestamp, timestamp, complete
// timestamp and time (none: no times). A row with an empty case is left out
// (a note counts such rows); an empty activity is an event with an empty
// name. Each event's timestamp is read (options.timestamp_format) and kept
// in the log; one that is empty or does not parse gives no time.
#ifndef LOGFSM_READERS_EVENT_TABLE_H_
#define LOGFSM_READERS_EVENT_TABLE_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/name_numbers.h"
#include "readers/log_source.h"
#include "readers/time_order.h"

namespace logfsm {

// How messages and notes name the places of a table: "line" or "row" for a
// row, "in the header" or "among the columns" for the header, and how a
// user names the case and activity columns ("--case-column", "case=").
struct table_words {
  std::string_view row;
  std::string_view header;
  std::string_view case_option;
  std::string_view activity_option;
};

// The columns a table is read by, by their positions in the header.
struct table_columns {
  std::size_t case_column = 0;
  std::vector<std::size_t> activity;
  std::optional<std::size_t> timestamp;
};

// Chooses the columns among `header` by options.case_column,
// activity_columns and timestamp_column, or by the usual names. Fails with
// bad_log "no column \"X\" in the header: a, b, c" for a column the options
// name that the header lacks, or "line L: no case column in the header: a,
// b, c (name one with --case-column)" (likewise for the activity; "line L: "
// only when `line`, the header's line, is not 0); the header lists at most
// 20 names.
status choose_columns(std::span<const std::string_view> header, std::size_t line,
                      const read_options& options, const table_words& words,
                      table_columns& chosen);

// The rows of a table read so far, as events of their cases.
//
// Cost: 24 bytes per event (its name's number and instant, its case's
// number, and its place when the cases are put in order) and each distinct
// case and name once, until write().
class event_table {
 public:
  // Uses options.timestamp_format and options.no_sort (which keeps every
  // case in file order, without a note).
  event_table(const table_columns& chosen, const read_options& options,
              const table_words& words);

  // Whether column `column` is read.
  bool uses(std::size_t column) const;
  // How many leading fields of a row are read.
  std::size_t fields_used() const;

  // Adds the row numbered `place` (its line, or its row) whose fields are
  // `fields`; missing fields read as empty.
  void add(std::span<const std::string_view> fields, std::size_t place);

  // Appends every case to `log` (each case's value its case id), and the
  // notes: "N rows without a case left out (first: line L)", "N cases kept
  // in file order because a timestamp did not parse (first: line L, "text")".
  void write(event_log& log, read_notes& notes);

 private:
  std::string_view name_of(std::span<const std::string_view> fields);

  table_columns chosen_;
  const read_options& options_;
  table_words words_;
  bool sort_;
  name_numbers cases_;
  name_numbers names_;
  std::vector<bool> file_order_;        // per case: keeps file order
  std::vector<timed_name> entries_;     // per event, in file order
  std::vector<std::uint32_t> case_of_;  // per event
  std::string joined_;
  std::size_t without_case_ = 0;  // rows left out
  std::size_t first_without_case_ = 0;
  file_order_tally file_order_count_;
};

// The text of the cell at (row, column) of a table, both 0-based.
using table_cell = std::function<std::string(std::size_t row, std::size_t column)>;

// Reads a table already split into cells (a data frame): the columns are
// chosen among `header` by choose_columns, and rows 0 to rows - 1 (named by
// their 0-based numbers) are read as event_table reads them; only the
// chosen columns' cells are asked for.
status read_event_table(const std::vector<std::string>& header, std::size_t rows,
                        const table_cell& cell, const read_options& options,
                        const table_words& words, event_log& log, read_notes& notes);

}  // namespace logfsm

#endif  // LOGFSM_READERS_EVENT_TABLE_H_
