// CSV event tables (RFC 4180): one event per row, a header row naming the
// columns, cases grouped by a case column.
//
// Records end at CR LF, LF or a lone CR outside quotes; a field in double
// quotes may hold delimiters and line ends, and "" stands for one quote. A
// UTF-8 byte order mark at the start is dropped and blank lines are skipped.
// Exports are read leniently: a quote inside an unquoted field is a plain
// character, and text after a closing quote is appended to the field.
//
// The first record is the header. Unless given, the delimiter is ',', ';',
// tab or '|', whichever occurs most often outside quotes in it (ties in
// that order; none: ','). Columns are found by name, compared
// case-insensitively after trimming blanks (the first of equal names): the
// case from case:concept:name, case_id, case id, caseid or case; the
// activity from concept:name, activity, activity_name or event; the
// timestamp from time:timestamp, timestamp, complete timestamp or time (the
// first of each list that the header holds).
//
// A row with fewer fields than the header reads the missing ones as empty;
// extra fields are ignored. Rows with an empty case are left out (a note
// counts them); an empty activity is an event with an empty name.
#ifndef LOGFSM_READERS_CSV_LOG_H_
#define LOGFSM_READERS_CSV_LOG_H_

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "readers/log_source.h"

namespace logfsm {

// Uses options.delimiter, options.case_column, options.activity_columns
// (several: their values joined with "+"), options.timestamp_column,
// options.timestamp_format and options.no_sort.
//
// Cases come in order of first appearance. Each is sorted stably by time
// when every one of its rows has a timestamp that parses; otherwise it keeps
// file order and a note counts it (no note without a timestamp column or
// with no_sort, which keep every case in file order).
//
// Fails with bad_log "line L: no case column in the header: a, b, c (...)"
// (likewise for the activity), "no column \"X\" in the header: a, b, c"
// for a column named in the options that the header lacks, "line L: the
// header has more than 65536 columns", and "line L, column C: a quoted
// field is not closed" (where the quote opened, C in bytes, a byte order
// mark not counted); with bad_argument for a delimiter that is a quote or
// a line end; with in.error() when reading fails. An input without a
// header gives an empty log.
//
// Cost: one pass over the input, holding one 64 KiB chunk of it (or the
// record being read, when longer), each distinct case and name once, and 24
// bytes per event.
status read_csv_log(input_file& in, const read_options& options, event_log& log,
                    read_notes& notes);

// The text of the cell at (row, column) of a table, both 0-based.
using table_cell = std::function<std::string(std::size_t row, std::size_t column)>;

// The same rules for a table already split into cells (a data frame): the
// columns are chosen among `header` as read_csv_log chooses them from a
// header line (options.case_column, activity_columns and timestamp_column,
// or the usual names), and rows 0 to rows - 1 are grouped into cases and
// ordered as read_csv_log orders them; only the chosen columns' cells are
// asked for. Messages and notes name rows by their 0-based number ("row 3")
// and the columns by case= and activity= ("no case column among the
// columns: a, b (name one with case=)").
status read_event_table(const std::vector<std::string>& header, std::size_t rows,
                        const table_cell& cell, const read_options& options,
                        event_log& log, read_notes& notes);

}  // namespace logfsm

#endif  // LOGFSM_READERS_CSV_LOG_H_
