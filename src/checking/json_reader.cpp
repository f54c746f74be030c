#include "checking/json_reader.h"

#include <cstddef>
#include <cstdint>

namespace logfsm {
namespace {

// Reads one value. Every step returns false once an error is recorded, and
// every caller then returns at once, so the first error and its offset are
// the ones reported.
class reader {
 public:
  explicit reader(std::string_view text) : text_(text) {}

  status read(json_value& v) {
    if (value(v, 0)) {
      skip_space();
      if (!at_end()) fail("text after the end of the JSON value");
    }
    if (what_.empty()) return status();
    v = json_value();
    return status(status_code::bad_model,
                  "malformed JSON at " + position() + ": " + what_);
  }

 private:
  bool fail(std::string what) {
    if (what_.empty()) {
      what_ = std::move(what);
      error_offset_ = pos_;
    }
    return false;
  }
  bool at_end() const { return pos_ >= text_.size(); }
  char peek() const { return at_end() ? '\0' : text_[pos_]; }

  void skip_space() {
    while (!at_end() &&
           (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')) {
      ++pos_;
    }
  }
  bool expect(char c) {
    skip_space();
    if (peek() != c) return fail(std::string("expected '") + c + "'");
    ++pos_;
    return true;
  }
  // Consumes `c` after white space when it is next.
  bool accept(char c) {
    skip_space();
    if (peek() != c) return false;
    ++pos_;
    return true;
  }

  bool value(json_value& v, int depth);
  bool container(json_value& v, int depth);
  bool string(std::string& out);
  bool hex4(std::uint32_t& cp);
  bool escape(std::string& out);
  bool literal(json_value& v);
  std::string position() const;

  std::string_view text_;
  std::size_t pos_ = 0;
  std::string what_;  // the first error; empty while there is none
  std::size_t error_offset_ = 0;
};

void append_utf8(std::string& out, std::uint32_t cp) {
  const auto byte = [&out](std::uint32_t b) { out.push_back(static_cast<char>(b)); };
  if (cp < 0x800) {
    byte(0xC0 | (cp >> 6));
  } else if (cp < 0x10000) {
    byte(0xE0 | (cp >> 12));
    byte(0x80 | ((cp >> 6) & 0x3F));
  } else {
    byte(0xF0 | (cp >> 18));
    byte(0x80 | ((cp >> 12) & 0x3F));
    byte(0x80 | ((cp >> 6) & 0x3F));
  }
  byte(0x80 | (cp & 0x3F));
}

bool reader::value(json_value& v, int depth) {
  skip_space();
  if (at_end()) return fail("unexpected end of the file");
  if (peek() == '{' || peek() == '[') {
    if (depth >= kMaxJsonDepth)
      return fail("nested deeper than " + std::to_string(kMaxJsonDepth));
    return container(v, depth + 1);
  }
  if (peek() == '"') {
    v.type = json_value::kind::string;
    return string(v.text);
  }
  return literal(v);
}

bool reader::container(json_value& v, int depth) {
  const bool object = text_[pos_++] == '{';
  const char close = object ? '}' : ']';
  v.type = object ? json_value::kind::object : json_value::kind::array;
  if (accept(close)) return true;
  do {
    if (object) {
      skip_space();
      if (peek() != '"') return fail("expected a member name");
      if (!string(v.keys.emplace_back()) || !expect(':')) return false;
    }
    if (!value(v.items.emplace_back(), depth)) return false;
  } while (accept(','));
  skip_space();
  if (peek() != close) return fail(std::string("expected ',' or '") + close + "'");
  ++pos_;
  return true;
}

bool reader::string(std::string& out) {
  ++pos_;  // the opening quote
  for (;;) {
    if (at_end()) return fail("unterminated string");
    const auto c = static_cast<unsigned char>(text_[pos_]);
    if (c == '"') break;
    if (c < 0x20) return fail("control character in a string");
    if (c == '\\') {
      if (!escape(out)) return false;
    } else {
      out.push_back(static_cast<char>(c));
      ++pos_;
    }
  }
  ++pos_;
  return true;
}

bool reader::hex4(std::uint32_t& cp) {
  cp = 0;
  for (int i = 0; i < 4; ++i, ++pos_) {
    const char c = peek();
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (digit < 0) return fail("expected four hex digits after \\u");
    cp = cp * 16 + static_cast<std::uint32_t>(digit);
  }
  return true;
}

bool reader::escape(std::string& out) {
  ++pos_;  // the backslash
  if (at_end()) return fail("unterminated string");
  const char c = text_[pos_++];
  // The one-letter escapes and what each stands for.
  constexpr std::string_view kLetters = "\"\\/bfnrt";
  constexpr std::string_view kMeanings = "\"\\/\b\f\n\r\t";
  if (const std::size_t i = kLetters.find(c); i != std::string_view::npos) {
    out.push_back(kMeanings[i]);
    return true;
  }
  if (c != 'u') {
    --pos_;
    return fail("invalid escape");
  }
  std::uint32_t cp = 0;
  if (!hex4(cp)) return false;
  if (cp >= 0xDC00 && cp <= 0xDFFF) return fail("unpaired surrogate");
  if (cp >= 0xD800 && cp <= 0xDBFF) {
    if (text_.substr(pos_, 2) != "\\u") return fail("unpaired surrogate");
    pos_ += 2;
    std::uint32_t low = 0;
    if (!hex4(low)) return false;
    if (low < 0xDC00 || low > 0xDFFF) return fail("unpaired surrogate");
    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
  }
  if (cp <= 0xFF) {
    out.push_back(static_cast<char>(cp));  // a character below 0x80, or a raw byte
  } else {
    append_utf8(out, cp);
  }
  return true;
}

bool digit(char c) { return c >= '0' && c <= '9'; }

bool reader::literal(json_value& v) {
  const std::size_t start = pos_;
  for (const std::string_view word : {"true", "false", "null"}) {
    if (text_.substr(pos_, word.size()) == word) {
      pos_ += word.size();
      v.type = word == "null" ? json_value::kind::null : json_value::kind::boolean;
      v.text = word;
      return true;
    }
  }
  const auto digits = [this] {
    const std::size_t first = pos_;
    while (digit(peek())) ++pos_;
    return pos_ != first || fail("invalid number");
  };
  if (peek() == '-') ++pos_;
  if (peek() == '0') {
    ++pos_;
  } else if (digit(peek())) {
    digits();
  } else {
    pos_ = start;
    return fail("expected a value");
  }
  if (peek() == '.') {
    ++pos_;
    if (!digits()) return false;
  }
  if (peek() == 'e' || peek() == 'E') {
    ++pos_;
    if (peek() == '+' || peek() == '-') ++pos_;
    if (!digits()) return false;
  }
  v.type = json_value::kind::number;
  v.text = text_.substr(start, pos_ - start);
  return true;
}

std::string reader::position() const {
  const std::string_view before = text_.substr(0, error_offset_);
  std::size_t line = 1;
  for (const char c : before) line += c == '\n';
  const std::size_t line_start = before.rfind('\n');
  const std::size_t column =
      error_offset_ - (line_start == std::string_view::npos ? 0 : line_start + 1) + 1;
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

}  // namespace

status parse_json(std::string_view text, json_value& value) {
  value = json_value();
  return reader(text).read(value);
}

}  // namespace logfsm
