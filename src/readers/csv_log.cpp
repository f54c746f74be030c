#include "readers/csv_log.h"

#include <string>
#include <string_view>
#include <vector>

#include "readers/csv_records.h"
#include "readers/event_table.h"

namespace logfsm {
namespace {

// The most columns a header may name, which bounds the work of finding
// columns and the memory of holding the header (16 bytes a field).
constexpr std::size_t kMostColumns = std::size_t{1} << 16;
// The delimiters detected from the header, ties going to the earlier one.
constexpr std::string_view kDelimiters = ",;\t|";

// How messages and notes name a CSV file's places and options.
constexpr table_words kCsvWords = {"line", "in the header", "--case-column",
                                   "--activity-column"};

// Reads the header with the delimiter given, or else detects the delimiter
// from it first; `header` holds its fields.
record_reader::outcome read_header(record_reader& records, char delimiter,
                                   std::vector<std::string_view>& header) {
  records.set_field_limit(kMostColumns + 1);
  if (delimiter != '\0') {
    records.set_delimiters(std::string_view(&delimiter, 1), false);
    return records.next(header);
  }
  records.set_delimiters(kDelimiters, true);
  const record_reader::outcome outcome = records.next(header);
  if (outcome == record_reader::outcome::end) return outcome;
  char best = ',';
  std::size_t most = 0;
  for (const char c : kDelimiters) {
    if (records.count_of(c) > most) {
      best = c;
      most = records.count_of(c);
    }
  }
  records.unread();
  records.set_delimiters(std::string_view(&best, 1), false);
  return records.next(header);
}

status open_quote_error(const record_reader& records) {
  const auto [line, column] = records.open_quote_place();
  return status(status_code::bad_log, "line " + std::to_string(line) + ", column " +
                                          std::to_string(column) +
                                          ": a quoted field is not closed");
}

}  // namespace

status read_csv_log(input_file& in, const read_options& options, event_log& log,
                    read_notes& notes) {
  if (options.delimiter == '"' || options.delimiter == '\r' ||
      options.delimiter == '\n') {
    return status(status_code::bad_argument,
                  "the delimiter cannot be a quote or a line end");
  }
  record_reader records(in);
  std::vector<std::string_view> fields;
  const record_reader::outcome header_read =
      read_header(records, options.delimiter, fields);
  if (!in.error().ok()) return in.error();
  if (header_read == record_reader::outcome::end) return status();
  if (header_read == record_reader::outcome::open_quote) return open_quote_error(records);
  if (fields.size() > kMostColumns) {
    return status(status_code::bad_log, "line " + std::to_string(records.record_line()) +
                                            ": the header has more than " +
                                            std::to_string(kMostColumns) + " columns");
  }
  table_columns chosen;
  if (status s =
          choose_columns(fields, records.record_line(), options, kCsvWords, chosen);
      !s.ok()) {
    return s;
  }
  event_table rows(chosen, options, kCsvWords);
  records.set_field_limit(rows.fields_used());
  record_reader::outcome outcome;
  while ((outcome = records.next(fields)) == record_reader::outcome::record) {
    rows.add(fields, records.record_line());
  }
  if (!in.error().ok()) return in.error();
  if (outcome == record_reader::outcome::open_quote) return open_quote_error(records);
  rows.write(log, notes);
  return status();
}

}  // namespace logfsm
