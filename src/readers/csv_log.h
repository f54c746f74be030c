// CSV event tables (RFC 4180): one event per row, a header row naming the
// columns, cases grouped by a case column.
#ifndef LOGFSM_READERS_CSV_LOG_H_
#define LOGFSM_READERS_CSV_LOG_H_

#include "readers/log_source.h"

namespace logfsm {

// Uses options.delimiter, options.case_column, options.activity_columns,
// options.timestamp_column, options.timestamp_format and options.no_sort.
// Cases come in order of first appearance; each is sorted stably by time
// when all its rows have a timestamp that parses. Fails with bad_log (a
// missing case or activity column, listing the header; a quote left open).
status read_csv_log(input_file& in, const read_options& options, event_log& log,
                    read_notes& notes);

}  // namespace logfsm

#endif  // LOGFSM_READERS_CSV_LOG_H_
