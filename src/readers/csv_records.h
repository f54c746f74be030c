// The records of a CSV (RFC 4180) input, read as a stream.
#ifndef LOGFSM_READERS_CSV_RECORDS_H_
#define LOGFSM_READERS_CSV_RECORDS_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "readers/input_file.h"

namespace logfsm {

// The records of a CSV input, one at a time. It holds the unread part of
// the current chunk, and more only while a record runs past it: a record
// cut by the end of the buffer is parsed again from its start once more
// input has come (the buffer doubles when the record fills half of it, so
// a long record costs linear time). Lines are counted at LF, CR LF and a
// lone CR, also inside quotes.
class record_reader {
 public:
  enum class outcome { record, end, open_quote };

  explicit record_reader(input_file& in);

  // The bytes that end a field outside quotes; with `counting`, how often
  // each ends one is counted for the next record.
  void set_delimiters(std::string_view delimiters, bool counting);
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
  std::size_t count_of(char c) const { return counts_[static_cast<unsigned char>(c)]; }

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
  std::size_t field_limit_ = static_cast<std::size_t>(-1);
  std::pair<std::size_t, std::size_t> open_quote_;
};

}  // namespace logfsm

#endif  // LOGFSM_READERS_CSV_RECORDS_H_
