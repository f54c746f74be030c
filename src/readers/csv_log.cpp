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

#include "readers/timestamp.h"

namespace logfsm {
namespace {

constexpr std::size_t kChunk = std::size_t{1} << 16;
// The most columns a header may name, which bounds the work of finding
// columns and the memory of holding the header (16 bytes a field).
constexpr std::size_t kMostColumns = std::size_t{1} << 16;
// The delimiters detected from the header, ties going to the earlier one.
constexpr std::string_view kDelimiters = ",;\t|";

unsigned char byte(char c) { return static_cast<unsigned char>(c); }

// What a byte does outside quotes.
enum byte_role : unsigned char { kText, kDelimiter, kLineEnd };

// The records of a CSV input, one at a time. It holds the unread part of
// the current chunk, and more only while a record runs past it: a record
// cut by the end of the buffer is parsed again from its start once more
// input has come (the buffer doubles when the record fills half of it, so
// a long record costs linear time). Lines are counted at LF, CR LF and a
// lone CR, also inside quotes.
class record_reader {
 public:
  enum class outcome { record, end, open_quote };

  explicit record_reader(input_file& in) : in_(in), buffer_(kChunk), scratch_(kChunk) {}

  // The bytes that end a field outside quotes; with `counting`, how often
  // each ends one is counted for the next record.
  void set_delimiters(std::string_view delimiters, bool counting) {
    roles_.fill(kText);
    roles_[byte('\r')] = kLineEnd;
    roles_[byte('\n')] = kLineEnd;
    for (const char c : delimiters) roles_[byte(c)] = kDelimiter;
    counting_ = counting;
  }
  // Fields after the first `limit` of a record are not handed out.
  void set_field_limit(std::size_t limit) { field_limit_ = limit; }

  // Reads the next record that is not blank into `fields` (views valid
  // until the next call). At the end of the input: end. A quoted field
  // open at the end: open_quote, and open_quote_place() tells where.
  outcome next(std::vector<std::string_view>& fields);
  // Makes the record last read the next one again.
  void unread() {
    begin_ = record_begin_;
    line_ = record_line_;
  }

  // The line where the record last read starts.
  std::size_t record_line() const { return record_line_; }
  // The line and byte column (from 1) of the quote left open.
  std::pair<std::size_t, std::size_t> open_quote_place() const { return open_quote_; }
  // How many fields of the last record `c` ended (when counting).
  std::size_t count_of(char c) const { return counts_[byte(c)]; }

 private:
  enum class parse { record, incomplete, end, open_quote };

  // Where parse_record is.
  struct cursor {
    const char* p;
    const char* end;         // of the bytes read
    std::size_t line;        // the line of p
    const char* line_start;  // where that line starts
    char* copy;              // where the next copied byte goes in scratch_
  };

  parse parse_record(std::vector<std::string_view>& fields);
  parse quoted_field(cursor& at, std::string_view& field);
  bool skip_blank_lines(const char*& p, const char* end);
  void fill();

  input_file& in_;
  std::vector<char> buffer_;
  // Unescaped copies of quoted fields; as large as buffer_, since a
  // record's copies are never longer than the record.
  std::vector<char> scratch_;
  std::size_t begin_ = 0;  // the first unread byte
  std::size_t end_ = 0;    // one past the last byte read
  bool at_end_ = false;    // nothing more to read
  bool started_ = false;
  std::size_t line_ = 1;  // the line of buffer_[begin_]
  std::size_t record_begin_ = 0;
  std::size_t record_line_ = 1;
  std::array<unsigned char, 256> roles_{};
  bool counting_ = false;
  std::array<std::size_t, 256> counts_{};
  std::size_t field_limit_ = SIZE_MAX;
  std::pair<std::size_t, std::size_t> open_quote_;
};

void record_reader::fill() {
  if (at_end_) return;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ > buffer_.size() / 2) {
    buffer_.resize(buffer_.size() * 2);
    scratch_.resize(buffer_.size());
  }
  while (end_ < buffer_.size()) {
    const std::size_t got = in_.read(buffer_.data() + end_, buffer_.size() - end_);
    if (got == 0) {
      at_end_ = true;
      return;
    }
    end_ += got;
  }
}

record_reader::outcome record_reader::next(std::vector<std::string_view>& fields) {
  if (!started_) {
    started_ = true;
    fill();  // fills the buffer, so it holds 3 bytes unless the input is shorter
    if (end_ >= 3 && std::memcmp(buffer_.data(), "\xEF\xBB\xBF", 3) == 0) begin_ = 3;
  }
  while (true) {
    switch (parse_record(fields)) {
      case parse::record:
        return outcome::record;
      case parse::end:
        return outcome::end;
      case parse::open_quote:
        return outcome::open_quote;
      case parse::incomplete:
        fill();
        break;
    }
  }
}

// Consumes the line ends at `p`; false when a CR ends the buffer before the
// input ends (it may be half of a CR LF).
bool record_reader::skip_blank_lines(const char*& p, const char* end) {
  while (p != end && (*p == '\n' || *p == '\r')) {
    if (*p == '\r' && p + 1 == end && !at_end_) return false;
    p += *p == '\r' && p + 1 != end && p[1] == '\n' ? 2 : 1;
    ++line_;
  }
  return true;
}

// Reads the quoted field at `at.p` into `field` and moves past it and any
// text after its closing quote: record when done, else incomplete or
// open_quote.
record_reader::parse record_reader::quoted_field(cursor& at, std::string_view& field) {
  const std::pair<std::size_t, std::size_t> opened(
      at.line, static_cast<std::size_t>(at.p - at.line_start) + 1);
  const char* const end = at.end;
  const char* p = ++at.p;
  const char* piece = p;         // the part of the value not yet copied
  const char* copied = nullptr;  // the value's copy, once it needs one
  while (true) {
    while (p != end && *p != '"' && *p != '\n' && *p != '\r') ++p;
    if (p == end) {
      if (!at_end_) return parse::incomplete;
      open_quote_ = opened;
      return parse::open_quote;
    }
    const bool last = p + 1 == end;
    if ((*p == '"' || *p == '\r') && last && !at_end_) return parse::incomplete;
    if (*p == '"') {
      if (last || p[1] != '"') break;
      // A doubled quote stands for one.
      if (copied == nullptr) copied = at.copy;
      at.copy = std::copy(piece, p + 1, at.copy);
      p += 2;
      piece = p;
      continue;
    }
    if (*p == '\r' && !last && p[1] == '\n') ++p;
    ++p;
    ++at.line;
    at.line_start = p;
  }
  const char* const close = p++;
  if (p != end && roles_[byte(*p)] == kText) {
    // Text after the closing quote belongs to the value.
    const char* const after = p;
    while (p != end && roles_[byte(*p)] == kText) ++p;
    if (copied == nullptr) copied = at.copy;
    at.copy = std::copy(piece, close, at.copy);
    at.copy = std::copy(after, p, at.copy);
  } else if (copied != nullptr) {
    at.copy = std::copy(piece, close, at.copy);
  }
  field = copied != nullptr
              ? std::string_view(copied, static_cast<std::size_t>(at.copy - copied))
              : std::string_view(piece, static_cast<std::size_t>(close - piece));
  at.p = p;
  return parse::record;
}

record_reader::parse record_reader::parse_record(std::vector<std::string_view>& fields) {
  const char* const base = buffer_.data();
  cursor at{base + begin_, base + end_, line_, nullptr, scratch_.data()};
  const bool blanks_done = skip_blank_lines(at.p, at.end);
  begin_ = static_cast<std::size_t>(at.p - base);
  if (!blanks_done) return parse::incomplete;
  if (at.p == at.end) return at_end_ ? parse::end : parse::incomplete;
  record_begin_ = begin_;
  record_line_ = line_;
  at.line = line_;
  at.line_start = at.p;

  const unsigned char* const roles = roles_.data();
  if (counting_) counts_.fill(0);
  fields.clear();
  while (true) {
    std::string_view field;
    if (at.p != at.end && *at.p == '"') {
      if (const parse done = quoted_field(at, field); done != parse::record) return done;
    } else {
      const char* const start = at.p;
      while (at.p != at.end && roles[byte(*at.p)] == kText) ++at.p;
      field = std::string_view(start, static_cast<std::size_t>(at.p - start));
    }
    const char* const p = at.p;
    if (p == at.end && !at_end_) return parse::incomplete;
    if (fields.size() < field_limit_) fields.push_back(field);
    if (p == at.end) break;
    if (roles[byte(*p)] == kDelimiter) {
      if (counting_) ++counts_[byte(*p)];
      ++at.p;
      continue;
    }
    // A line end.
    if (*p == '\r' && p + 1 == at.end && !at_end_) return parse::incomplete;
    at.p += *p == '\r' && p + 1 != at.end && p[1] == '\n' ? 2 : 1;
    ++at.line;
    break;
  }
  begin_ = static_cast<std::size_t>(at.p - base);
  line_ = at.line;
  return parse::record;
}

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

status no_column(const header_names& header, std::string_view name) {
  return status(status_code::bad_log, "no column \"" + shown(name) +
                                          "\" in the header: " + header_list(header));
}

status choose_columns(const header_names& header, std::size_t line,
                      const read_options& options, columns& chosen) {
  const auto missing = [&](std::string_view what, std::string_view option) {
    return status(status_code::bad_log,
                  "line " + std::to_string(line) + ": no " + std::string(what) +
                      " column in the header: " + header_list(header) +
                      " (name one with --" + std::string(option) + ")");
  };
  const std::optional<std::size_t> case_column =
      options.case_column.empty() ? first_column(header, {"case:concept:name", "case_id",
                                                          "case id", "caseid", "case"})
                                  : column_named(header, options.case_column);
  if (!case_column && !options.case_column.empty())
    return no_column(header, options.case_column);
  if (!case_column) return missing("case", "case-column");
  chosen.case_column = *case_column;

  for (const std::string& name : options.activity_columns) {
    const auto column = column_named(header, name);
    if (!column) return no_column(header, name);
    chosen.activity.push_back(*column);
  }
  if (options.activity_columns.empty()) {
    const auto column =
        first_column(header, {"concept:name", "activity", "activity_name", "event"});
    if (!column) return missing("activity", "activity-column");
    chosen.activity.push_back(*column);
  }

  if (!options.timestamp_column.empty()) {
    chosen.timestamp = column_named(header, options.timestamp_column);
    if (!chosen.timestamp) return no_column(header, options.timestamp_column);
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
  row_table(const columns& chosen, const read_options& options)
      : chosen_(chosen),
        options_(options),
        sort_(!options.no_sort && chosen.timestamp.has_value()),
        time_column_(sort_ ? *chosen.timestamp : 0) {}

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
                      (without_case_ == 1 ? " row without a case left out (line "
                                          : " rows without a case left out (first: line ") +
                      std::to_string(first_without_case_) + ")");
    }
    if (file_order_ > 0) {
      notes.push_back(
          std::to_string(file_order_) +
          (file_order_ == 1
               ? " case kept in file order because a timestamp did not parse (line "
               : " cases kept in file order because a timestamp did not parse (first: line ") +
          std::to_string(first_bad_time_) + ", \"" + bad_time_ + "\")");
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
  if (status s = choose_columns(fields, records.record_line(), options, chosen);
      !s.ok()) {
    return s;
  }
  row_table rows(chosen, options);
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
