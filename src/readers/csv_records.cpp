#include "readers/csv_records.h"

#include <algorithm>
#include <cstring>

namespace logfsm {
namespace {

constexpr std::size_t kChunk = std::size_t{1} << 16;

unsigned char byte(char c) { return static_cast<unsigned char>(c); }

// What a byte does outside quotes.
enum byte_role : unsigned char { kText, kDelimiter, kLineEnd };

}  // namespace

record_reader::record_reader(input_file& in) : in_(in), buffer_(kChunk), scratch_(kChunk) {}

void record_reader::set_delimiters(std::string_view delimiters, bool counting) {
  roles_.fill(kText);
  roles_[byte('\r')] = kLineEnd;
  roles_[byte('\n')] = kLineEnd;
  for (const char c : delimiters) roles_[byte(c)] = kDelimiter;
  counting_ = counting;
}

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

}  // namespace logfsm
