#include "readers/csv_log.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "readers/csv_records.h"
#include "readers/timestamp.h"

namespace logfsm {
namespace {

// The most columns a header may name, which bounds the work of finding
// columns and the memory of holding the header (16 bytes a field).
constexpr std::size_t kMostColumns = std::size_t{1} << 16;
// The delimiters detected from the header, ties going to the earlier one.
constexpr std::string_view kDelimiters = ",;\t|";

unsigned char byte(char c) { return static_cast<unsigned char>(c); }

// ---- Columns ----

using header_names = std::vector<std::string_view>;

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_name(std::string_view a, std::string_view b) {
  a = trimmed(a);
  b = trimmed(b);
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return lower(x) == lower(y); });
}

// `text` for a one-line message: control bytes escaped, cut after about 40
// bytes (at a UTF-8 character boundary) with "...".
std::string shown(std::string_view text) {
  constexpr std::size_t kLongest = 40;
  bool cut = false;
  if (text.size() > kLongest) {
    std::size_t n = kLongest;
    while (n > 0 && (byte(text[n]) & 0xC0) == 0x80) --n;
    text = text.substr(0, n);
    cut = true;
  }
  std::string out;
  for (const char c : text) {
    if (byte(c) >= 0x20 && c != 0x7F) {
      out += c;
      continue;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    switch (c) {
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += "\\x";
        out += kHex[byte(c) >> 4];
        out += kHex[byte(c) & 15];
    }
  }
  if (cut) out += "...";
  return out;
}

// "a, b, c", at most 20 names, an empty name as "".
std::string header_list(const header_names& header) {
  constexpr std::size_t kMostNames = 20;
  std::string list;
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (i > 0) list += ", ";
    if (i == kMostNames) {
      list += "...";
      break;
    }
    const std::string_view name = trimmed(header[i]);
    list += name.empty() ? "\"\"" : shown(name);
  }
  return list;
}

std::optional<std::size_t> column_named(const header_names& header,
                                        std::string_view name) {
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (same_name(header[i], name)) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> first_column(const header_names& header,
                                        std::initializer_list<std::string_view> names) {
  for (const std::string_view name : names) {
    if (const auto column = column_named(header, name)) return column;
  }
  return std::nullopt;
}

struct columns {
  std::size_t case_column = 0;
  std::vector<std::size_t> activity;
  std::optional<std::size_t> timestamp;
};

// How messages and notes name the places of a table: a CSV file's lines
// and header and its command-line options, or a data frame's rows and
// columns and its keywords.
struct table_words {
  std::string_view row;          // "line" or "row"
  std::string_view header;       // "in the header" or "among the columns"
  std::string_view case_option;  // how a user names a column
  std::string_view activity_option;
};
constexpr table_words kCsvWords = {"line", "in the header", "--case-column",
                                   "--activity-column"};
constexpr table_words kTableWords = {"row", "among the columns", "case=", "activity="};

status no_column(const header_names& header, std::string_view name,
                 const table_words& words) {
  return status(status_code::bad_log, "no column \"" + shown(name) + "\" " +
                                          std::string(words.header) + ": " +
                                          header_list(header));
}

// `line` is the header's line, or 0 when it has none.
status choose_columns(const header_names& header, std::size_t line,
                      const read_options& options, const table_words& words,
                      columns& chosen) {
  const auto missing = [&](std::string_view what, std::string_view option) {
    return status(status_code::bad_log,
                  (line > 0 ? "line " + std::to_string(line) + ": " : std::string()) +
                      "no " + std::string(what) + " column " + std::string(words.header) +
                      ": " + header_list(header) + " (name one with " +
                      std::string(option) + ")");
  };
  const std::optional<std::size_t> case_column =
      options.case_column.empty() ? first_column(header, {"case:concept:name", "case_id",
                                                          "case id", "caseid", "case"})
                                  : column_named(header, options.case_column);
  if (!case_column && !options.case_column.empty())
    return no_column(header, options.case_column, words);
  if (!case_column) return missing("case", words.case_option);
  chosen.case_column = *case_column;

  for (const std::string& name : options.activity_columns) {
    const auto column = column_named(header, name);
    if (!column) return no_column(header, name, words);
    chosen.activity.push_back(*column);
  }
  if (options.activity_columns.empty()) {
    const auto column =
        first_column(header, {"concept:name", "activity", "activity_name", "event"});
    if (!column) return missing("activity", words.activity_option);
    chosen.activity.push_back(*column);
  }

  if (!options.timestamp_column.empty()) {
    chosen.timestamp = column_named(header, options.timestamp_column);
    if (!chosen.timestamp) return no_column(header, options.timestamp_column, words);
  } else {
    chosen.timestamp = first_column(
        header, {"time:timestamp", "timestamp", "complete timestamp", "time"});
  }
  return status();
}

// Reads the header with the delimiter given, or else detects the delimiter
// from it first; `header` holds its fields.
record_reader::outcome read_header(record_reader& records, char delimiter,
                                   header_names& header) {
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

// ---- Cases ----

// A hash of `s` for string_numbers: 8 bytes at a time, each mixed in.
std::uint64_t hash_of(std::string_view s) {
  std::uint64_t h = 0x9E3779B97F4A7C15u ^ s.size();
  std::size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, s.data() + i, 8);
    h = (h ^ word) * 0xBF58476D1CE4E5B9u;
    h ^= h >> 29;
  }
  std::uint64_t rest = 0;
  if (i < s.size()) std::memcpy(&rest, s.data() + i, s.size() - i);  // data() may be null
  h = (h ^ rest) * 0x94D049BB133111EBu;
  return h ^ (h >> 31);
}

// Distinct strings numbered from 0 in order of first appearance, found
// through an open-addressing table kept at most half full.
class string_numbers {
 public:
  // The number of `s`, the next one when `s` is new.
  std::uint32_t number(std::string_view s) {
    const std::uint64_t h = hash_of(s);
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = h & mask;
    for (; slots_[i] != 0; i = (i + 1) & mask) {
      const std::uint32_t n = slots_[i] - 1;
      if (hashes_[n] == h && strings_[n] == s) return n;
    }
    strings_.emplace_back(s);
    hashes_.push_back(h);
    slots_[i] = static_cast<std::uint32_t>(strings_.size());
    if (strings_.size() * 2 > slots_.size()) grow();
    return static_cast<std::uint32_t>(strings_.size() - 1);
  }

  const std::string& operator[](std::uint32_t n) const { return strings_[n]; }
  std::size_t size() const { return strings_.size(); }

 private:
  void grow() {
    slots_.assign(slots_.size() * 2, 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t n = 0; n < strings_.size(); ++n) {
      std::size_t i = hashes_[n] & mask;
      while (slots_[i] != 0) i = (i + 1) & mask;
      slots_[i] = static_cast<std::uint32_t>(n + 1);
    }
  }

  std::vector<std::string> strings_;
  std::vector<std::uint64_t> hashes_;  // hash_of each of strings_
  std::vector<std::uint32_t> slots_ =
      std::vector<std::uint32_t>(64, 0);  // number + 1; 0: free
};

// An event as buffered until its case is complete.
struct event_entry {
  std::int64_t seconds = 0;  // its instant, when the case is sorted
  std::int32_t nanos = 0;
  std::uint32_t name = 0;  // a number of the table's names
};

// The events of every case, in file order, and the cases in order of first
// appearance: 24 bytes per event (its entry, its case's number, and its
// place when the cases are put in order).
class event_table {
 public:
  std::uint32_t case_number(std::string_view value) {
    const std::uint32_t n = cases_.number(value);
    if (n == file_order_.size()) file_order_.push_back(false);
    return n;
  }
  std::uint32_t name_number(std::string_view name) { return names_.number(name); }
  void add(std::uint32_t case_number, const event_entry& entry) {
    case_of_.push_back(case_number);
    entries_.push_back(entry);
  }
  // Whether the case keeps file order (a timestamp of it did not parse).
  bool in_file_order(std::uint32_t case_number) const { return file_order_[case_number]; }
  void keep_file_order(std::uint32_t case_number) { file_order_[case_number] = true; }

  // Appends every case to `log`, each sorted stably by time unless `sort`
  // is false or the case keeps file order.
  void write(event_log& log, bool sort) {
    // The events grouped by case, stably (a counting sort).
    std::vector<std::uint32_t> ends(cases_.size() + 1, 0);
    for (const std::uint32_t c : case_of_) ++ends[c + 1];
    for (std::size_t c = 1; c < ends.size(); ++c) ends[c] += ends[c - 1];
    std::vector<std::uint32_t> order(entries_.size());
    for (std::size_t i = 0; i < case_of_.size(); ++i) {
      order[ends[case_of_[i]]++] = static_cast<std::uint32_t>(i);
    }
    std::vector<std::uint32_t>().swap(case_of_);
    // Now case c's events are order[ends[c - 1], ends[c]) (from 0 for c = 0).
    const auto earlier = [this](std::uint32_t a, std::uint32_t b) {
      const event_entry& x = entries_[a];
      const event_entry& y = entries_[b];
      return x.seconds != y.seconds ? x.seconds < y.seconds : x.nanos < y.nanos;
    };
    for (std::size_t c = 0; c < cases_.size(); ++c) {
      const auto first = order.begin() + (c == 0 ? 0 : ends[c - 1]);
      const auto last = order.begin() + ends[c];
      if (sort && !file_order_[c] && !std::is_sorted(first, last, earlier)) {
        std::stable_sort(first, last, earlier);
      }
      for (auto it = first; it != last; ++it) log.add_event(names_[entries_[*it].name]);
      log.end_line();
    }
  }

 private:
  string_numbers cases_;
  string_numbers names_;
  std::vector<bool> file_order_;        // per case
  std::vector<event_entry> entries_;    // per event, in file order
  std::vector<std::uint32_t> case_of_;  // per event
};

std::string_view field_at(const std::vector<std::string_view>& fields, std::size_t i) {
  return i < fields.size() ? fields[i] : std::string_view();
}

// The rows read so far as events of their cases, with what the notes count.
class row_table {
 public:
  row_table(const columns& chosen, const read_options& options, const table_words& words)
      : chosen_(chosen),
        options_(options),
        words_(words),
        sort_(!options.no_sort && chosen.timestamp.has_value()),
        time_column_(sort_ ? *chosen.timestamp : 0) {}

  // Whether column `c` is read.
  bool uses(std::size_t c) const {
    return c == chosen_.case_column || (sort_ && c == time_column_) ||
           std::find(chosen_.activity.begin(), chosen_.activity.end(), c) !=
               chosen_.activity.end();
  }

  // How many fields of a row are used.
  std::size_t fields_used() const {
    std::size_t last = std::max(chosen_.case_column, time_column_);
    for (const std::size_t c : chosen_.activity) last = std::max(last, c);
    return last + 1;
  }

  // Adds the row that starts on line `line`.
  void add(const std::vector<std::string_view>& fields, std::size_t line) {
    const std::string_view case_value = field_at(fields, chosen_.case_column);
    if (case_value.empty()) {
      if (without_case_++ == 0) first_without_case_ = line;
      return;
    }
    const std::uint32_t case_number = table_.case_number(case_value);
    event_entry entry;
    entry.name = table_.name_number(name_of(fields));
    if (sort_ && !table_.in_file_order(case_number)) {
      const std::string_view text = field_at(fields, time_column_);
      if (const std::optional<instant> time =
              parse_timestamp(text, options_.timestamp_format)) {
        entry.seconds = time->seconds;
        entry.nanos = time->nanos;
      } else {
        table_.keep_file_order(case_number);
        if (file_order_++ == 0) {
          first_bad_time_ = line;
          bad_time_ = shown(text);
        }
      }
    }
    table_.add(case_number, entry);
  }

  void write(event_log& log, read_notes& notes) {
    table_.write(log, sort_);
    if (without_case_ > 0) {
      notes.push_back(std::to_string(without_case_) +
                      (without_case_ == 1 ? " row without a case left out ("
                                          : " rows without a case left out (first: ") +
                      std::string(words_.row) + " " +
                      std::to_string(first_without_case_) + ")");
    }
    if (file_order_ > 0) {
      notes.push_back(
          std::to_string(file_order_) +
          (file_order_ == 1
               ? " case kept in file order because a timestamp did not parse ("
               : " cases kept in file order because a timestamp did not parse (first: ") +
          std::string(words_.row) + " " + std::to_string(first_bad_time_) + ", \"" +
          bad_time_ + "\")");
    }
  }

 private:
  // The activity, or the activities joined with "+".
  std::string_view name_of(const std::vector<std::string_view>& fields) {
    const std::string_view first = field_at(fields, chosen_.activity[0]);
    if (chosen_.activity.size() == 1) return first;
    joined_.assign(first);
    for (std::size_t i = 1; i < chosen_.activity.size(); ++i) {
      joined_.append("+").append(field_at(fields, chosen_.activity[i]));
    }
    return joined_;
  }

  const columns& chosen_;
  const read_options& options_;
  const table_words& words_;
  const bool sort_;
  const std::size_t time_column_;
  event_table table_;
  std::string joined_;
  std::size_t without_case_ = 0;  // rows left out
  std::size_t first_without_case_ = 0;
  std::size_t file_order_ = 0;  // cases
  std::size_t first_bad_time_ = 0;
  std::string bad_time_;  // the first timestamp that did not parse, shown
};

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
  columns chosen;
  if (fields.size() > kMostColumns) {
    return status(status_code::bad_log, "line " + std::to_string(records.record_line()) +
                                            ": the header has more than " +
                                            std::to_string(kMostColumns) + " columns");
  }
  if (status s =
          choose_columns(fields, records.record_line(), options, kCsvWords, chosen);
      !s.ok()) {
    return s;
  }
  row_table rows(chosen, options, kCsvWords);
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

status read_event_table(const std::vector<std::string>& header, std::size_t rows,
                        const table_cell& cell, const read_options& options,
                        event_log& log, read_notes& notes) {
  const header_names names(header.begin(), header.end());
  columns chosen;
  if (status s = choose_columns(names, 0, options, kTableWords, chosen); !s.ok())
    return s;
  row_table table(chosen, options, kTableWords);
  std::vector<std::string_view> fields(table.fields_used());
  std::vector<std::string> cells(fields.size());
  for (std::size_t row = 0; row < rows; ++row) {
    for (std::size_t c = 0; c < fields.size(); ++c) {
      if (!table.uses(c)) continue;
      cells[c] = cell(row, c);
      fields[c] = cells[c];
    }
    table.add(fields, row);
  }
  table.write(log, notes);
  return status();
}

}  // namespace logfsm
