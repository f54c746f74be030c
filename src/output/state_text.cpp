#include "output/state_text.h"

#include <cassert>
#include <charconv>
#include <string>

namespace logfsm {
namespace {

// Which bytes a syntax may not keep as they are: in DOT `"`, `\` and NUL;
// in JSON `"`, `\`, control characters and every byte of a multi-byte
// sequence (kept only after its UTF-8 is checked).
struct special_bytes {
  bool dot[256] = {};
  bool json[256] = {};
  constexpr special_bytes() {
    dot[static_cast<unsigned char>('"')] = dot[static_cast<unsigned char>('\\')] = dot[0] = true;
    for (int b = 0; b < 256; ++b) json[b] = b < 0x20 || b >= 0x80 || b == '"' || b == '\\';
  }
};
constexpr special_bytes kSpecial;

// The end of the run of bytes from `i` that `special` lets stay as they are.
std::size_t plain_run_end(std::string_view name, std::size_t i, const bool (&special)[256]) {
  while (i < name.size() && !special[static_cast<unsigned char>(name[i])]) ++i;
  return i;
}

// Names are mostly plain bytes: each run of bytes that need no escape is
// appended at once.
void append_dot_escaped(std::string& out, std::string_view name) {
  std::size_t plain = 0;
  for (std::size_t i = plain_run_end(name, 0, kSpecial.dot); i < name.size();
       i = plain_run_end(name, i + 1, kSpecial.dot)) {
    const char c = name[i];
    out.append(name.substr(plain, i - plain));
    out += '\\';
    out += c == '\0' ? '0' : c;
    plain = i + 1;
  }
  out.append(name.substr(plain));
}

void append_unicode_escape(std::string& out, unsigned char byte) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += "\\u00";
  out += kHex[byte >> 4];
  out += kHex[byte & 0xF];
}

void append_json_escaped(std::string& out, std::string_view name) {
  std::size_t plain = 0;  // the start of the run of bytes kept as they are
  std::size_t i = 0;
  const auto flush = [&] { out.append(name.substr(plain, i - plain)); };
  while ((i = plain_run_end(name, i, kSpecial.json)) < name.size()) {
    const auto byte = static_cast<unsigned char>(name[i]);
    const char* escape = nullptr;
    switch (byte) {
      case '"': escape = "\\\""; break;
      case '\\': escape = "\\\\"; break;
      case '\b': escape = "\\b"; break;
      case '\f': escape = "\\f"; break;
      case '\n': escape = "\\n"; break;
      case '\r': escape = "\\r"; break;
      case '\t': escape = "\\t"; break;
      default: break;
    }
    if (escape != nullptr) {
      flush();
      out += escape;
      plain = ++i;
      continue;
    }
    const std::size_t length = byte < 0x20 ? 0 : utf8_sequence_length(name.substr(i));
    if (length == 0) {
      flush();
      append_unicode_escape(out, byte);
      plain = ++i;
    } else {
      i += length;  // a valid UTF-8 sequence is kept
    }
  }
  flush();
}

bool continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::size_t utf8_sequence_length(std::string_view text) {
  assert(!text.empty());
  const auto at = [&text](std::size_t i) {
    return static_cast<unsigned char>(text[i]);
  };
  const unsigned char lead = at(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;  // bounds of the second byte
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (text.size() < length || at(1) < low || at(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!continuation(at(i))) return 0;
  }
  return length;
}

void append_escaped(std::string& out, std::string_view name, text_syntax syntax) {
  if (syntax == text_syntax::dot) {
    append_dot_escaped(out, name);
  } else {
    append_json_escaped(out, name);
  }
}

namespace {

void append_id(std::string& out, std::int16_t id) {
  out += '(';
  char digits[8];
  const auto written = std::to_chars(digits, digits + sizeof digits, id);
  out.append(digits, written.ptr);
  out += ')';
}

}  // namespace

void append_state(std::string& out, std::string_view name, std::int16_t id,
                  text_syntax syntax) {
  out += '"';
  if (name.empty()) {
    out += "s0";
  } else {
    append_escaped(out, name, syntax);
  }
  append_id(out, id);
  out += '"';
}

void append_state(std::string& out, const fsm_state& s, text_syntax syntax) {
  append_state(out, s.name(), s.id, syntax);
}

std::string state_text(std::string_view name, std::int16_t id) {
  std::string text(spelled_name(name));
  append_id(text, id);
  return text;
}

void write_escaped(std::ostream& out, std::string_view name, text_syntax syntax) {
  std::string text;
  append_escaped(text, name, syntax);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void write_json_string(std::ostream& out, std::string_view text) {
  out << '"';
  write_escaped(out, text, text_syntax::json);
  out << '"';
}

std::ostream& write_state(std::ostream& out, const fsm_state& s,
                          text_syntax syntax) {
  std::string text;
  append_state(text, s, syntax);
  return out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace logfsm
