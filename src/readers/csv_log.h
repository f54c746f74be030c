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
// that order; none: ','). The records are an event table
// (readers/event_table.h): its columns are found by name in the header, and
// each case's value is its trace's case id and each row's timestamp its
// event's time.
//
// A row with fewer fields than the header reads the missing ones as empty;
// extra fields are ignored.
#ifndef LOGFSM_READERS_CSV_LOG_H_
#define LOGFSM_READERS_CSV_LOG_H_

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
// bytes per event besides the log.
status read_csv_log(input_file& in, const read_options& options, event_log& log,
                    read_notes& notes);

}  // namespace logfsm

#endif  // LOGFSM_READERS_CSV_LOG_H_
