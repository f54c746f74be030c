#include "support/json_check.h"

#include <cstdint>
#include <optional>

namespace logfsm::testing {
namespace {

// Nesting deeper than this is reported as an error rather than recursed into.
constexpr int kMaxDepth = 256;

class json_reader {
 public:
  explicit json_reader(std::string_view text) : text_(text) {}

  json_check_result run() {
    skip_white_space();
    if (value(0)) {
      skip_white_space();
      if (pos_ != text_.size()) fail("text after the value");
    }
    result_.ok = result_.error.empty();
    return std::move(result_);
  }

 private:
  bool fail(const char* what) {
    if (result_.error.empty()) {
      result_.error = what;
      result_.offset = pos_;
    }
    return false;
  }

  bool at_end() const { return pos_ >= text_.size(); }
  unsigned char peek() const { return static_cast<unsigned char>(text_[pos_]); }

  void skip_white_space() {
    while (!at_end() &&
           (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')) {
      ++pos_;
    }
  }

  bool literal(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return fail("bad literal");
    pos_ += word.size();
    return true;
  }

  // Steps over a closing bracket or brace.
  bool close() {
    ++pos_;
    return true;
  }

  bool value(int depth) {
    if (depth > kMaxDepth) return fail("nesting too deep");
    if (at_end()) return fail("value expected");
    switch (peek()) {
      case '{':
        return object(depth);
      case '[':
        return array(depth);
      case '"':
        return string();
      case 't':
        return literal("true");
      case 'f':
        return literal("false");
      case 'n':
        return literal("null");
      default:
        return number();
    }
  }

  bool object(int depth) {
    ++pos_;  // '{'
    skip_white_space();
    if (!at_end() && peek() == '}') return close();
    while (true) {
      skip_white_space();
      if (at_end() || peek() != '"') return fail("member name expected");
      if (!string()) return false;
      skip_white_space();
      if (at_end() || peek() != ':') return fail("':' expected");
      ++pos_;
      skip_white_space();
      if (!value(depth + 1)) return false;
      skip_white_space();
      if (at_end()) return fail("'}' expected");
      if (peek() == '}') return close();
      if (peek() != ',') return fail("',' or '}' expected");
      ++pos_;
    }
  }

  bool array(int depth) {
    ++pos_;  // '['
    skip_white_space();
    if (!at_end() && peek() == ']') return close();
    while (true) {
      skip_white_space();
      if (!value(depth + 1)) return false;
      skip_white_space();
      if (at_end()) return fail("']' expected");
      if (peek() == ']') return close();
      if (peek() != ',') return fail("',' or ']' expected");
      ++pos_;
    }
  }

  bool digits() {
    const std::size_t start = pos_;
    while (!at_end() && peek() >= '0' && peek() <= '9') ++pos_;
    return pos_ > start;
  }

  bool number() {
    if (!at_end() && peek() == '-') ++pos_;
    if (at_end()) return fail("digit expected");
    if (peek() == '0') {
      ++pos_;
    } else if (!digits()) {
      return fail("value expected");
    }
    if (!at_end() && peek() == '.') {
      ++pos_;
      if (!digits()) return fail("digit expected after '.'");
    }
    if (!at_end() && (peek() == 'e' || peek() == 'E')) {
      ++pos_;
      if (!at_end() && (peek() == '+' || peek() == '-')) ++pos_;
      if (!digits()) return fail("digit expected in exponent");
    }
    return true;
  }

  std::optional<std::uint32_t> hex4() {
    if (text_.size() - pos_ < 4) return std::nullopt;
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      const unsigned char c = peek();
      v <<= 4;
      if (c >= '0' && c <= '9') {
        v |= c - '0';
      } else if (c >= 'a' && c <= 'f') {
        v |= c - 'a' + 10;
      } else if (c >= 'A' && c <= 'F') {
        v |= c - 'A' + 10;
      } else {
        return std::nullopt;
      }
      ++pos_;
    }
    return v;
  }

  static void append_utf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }

  // After "\u": one escape, or a surrogate pair written as two escapes.
  bool unicode_escape(std::string& out) {
    const std::optional<std::uint32_t> first = hex4();
    if (!first) return fail("four hex digits expected after \\u");
    if (*first >= 0xDC00 && *first <= 0xDFFF) return fail("unpaired low surrogate");
    if (*first < 0xD800 || *first > 0xDBFF) {
      append_utf8(out, *first);
      return true;
    }
    if (text_.substr(pos_, 2) != "\\u") return fail("unpaired high surrogate");
    pos_ += 2;
    const std::optional<std::uint32_t> second = hex4();
    if (!second || *second < 0xDC00 || *second > 0xDFFF) {
      return fail("unpaired high surrogate");
    }
    append_utf8(out, 0x10000 + ((*first - 0xD800) << 10) + (*second - 0xDC00));
    return true;
  }

  bool escape(std::string& out) {
    ++pos_;  // '\'
    if (at_end()) return fail("unterminated escape");
    const char c = static_cast<char>(peek());
    ++pos_;
    switch (c) {
      case '"':
        out += '"';
        return true;
      case '\\':
        out += '\\';
        return true;
      case '/':
        out += '/';
        return true;
      case 'b':
        out += '\b';
        return true;
      case 'f':
        out += '\f';
        return true;
      case 'n':
        out += '\n';
        return true;
      case 'r':
        out += '\r';
        return true;
      case 't':
        out += '\t';
        return true;
      case 'u':
        return unicode_escape(out);
      default:
        --pos_;
        return fail("unknown escape");
    }
  }

  // The length of the well-formed UTF-8 sequence at pos_ (lead byte >= 0x80),
  // or 0. Written from the table of well-formed sequences in Unicode ch. 3.
  std::size_t multibyte_length() const {
    const unsigned char lead = peek();
    std::size_t length;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead == 0xE0) {
      length = 3;
      low = 0xA0;
    } else if (lead == 0xED) {
      length = 3;
      high = 0x9F;
    } else if (lead >= 0xE1 && lead <= 0xEF) {
      length = 3;
    } else if (lead == 0xF0) {
      length = 4;
      low = 0x90;
    } else if (lead == 0xF4) {
      length = 4;
      high = 0x8F;
    } else if (lead >= 0xF1 && lead <= 0xF3) {
      length = 4;
    } else {
      return 0;
    }
    if (text_.size() - pos_ < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
      const auto b = static_cast<unsigned char>(text_[pos_ + i]);
      if (b < (i == 1 ? low : 0x80) || b > (i == 1 ? high : 0xBF)) return 0;
    }
    return length;
  }

  bool string() {
    ++pos_;  // '"'
    std::string decoded;
    while (true) {
      if (at_end()) return fail("unterminated string");
      const unsigned char c = peek();
      if (c == '"') break;
      if (c < 0x20) return fail("raw control character in string");
      if (c == '\\') {
        if (!escape(decoded)) return false;
      } else if (c < 0x80) {
        decoded += static_cast<char>(c);
        ++pos_;
      } else {
        const std::size_t length = multibyte_length();
        if (length == 0) return fail("invalid UTF-8");
        decoded.append(text_.substr(pos_, length));
        pos_ += length;
      }
    }
    ++pos_;  // '"'
    result_.strings.push_back(std::move(decoded));
    return true;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  json_check_result result_;
};

}  // namespace

json_check_result check_json(std::string_view text) { return json_reader(text).run(); }

}  // namespace logfsm::testing
