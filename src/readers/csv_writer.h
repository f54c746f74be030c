// Writing a log as a CSV event table that the CSV reader reads back to the
// same traces, in the same order, with the same case ids and times.
//
// The header is "case:concept:name,concept:name,time:timestamp"; then one
// row per event, trace by trace and in trace order, every line ended by LF.
// A field holding a comma, a quote, CR or LF is quoted, its quotes doubled
// (RFC 4180). Times are written as format_timestamp writes them
// ("2024-03-01T09:15:00.000000Z"); an event without one has an empty field.
//
// A row without a case is no event to the reader, and rows of equal cases
// make one trace, so: a trace keeps its case id unless it has none or an
// earlier trace has the same; such a trace is written with its 1-based
// number in the log as its id, with "#" put in front while another trace
// has that id. An empty trace has no rows: it is left out.
#ifndef LOGFSM_READERS_CSV_WRITER_H_
#define LOGFSM_READERS_CSV_WRITER_H_

#include <string>
#include <vector>

#include "model/event_log.h"

namespace logfsm {

// Appends `log` as a CSV event table to `text`. Returns what a reader of
// the text might not expect, one line each: "N empty traces left out
// (first: trace T)"; when the log has case ids, "N traces without a case id
// of their own written with their numbers (first: trace T)"; "N times
// outside the years 0000 to 9999 written empty (first: trace T, event E)"
// (for one: "1 empty trace left out (trace T)", and so on).
std::vector<std::string> write_csv_log(const event_log& log, std::string& text);

}  // namespace logfsm

#endif  // LOGFSM_READERS_CSV_WRITER_H_
