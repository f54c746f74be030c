#include "output/state_text.h"

#include <cassert>

namespace logfsm {
namespace {

void write_dot_escaped(std::ostream& out, std::string_view name) {
  for (const char c : name) {
    if (c == '"' || c == '\\') {
      out << '\\' << c;
    } else if (c == '\0') {
      out << "\\0";
    } else {
      out << c;
    }
  }
}

void write_unicode_escape(std::ostream& out, unsigned char byte) {
  static constexpr char kHex[] = "0123456789abcdef";
  out << "\\u00" << kHex[byte >> 4] << kHex[byte & 0xF];
}

void write_json_escaped(std::ostream& out, std::string_view name) {
  std::size_t i = 0;
  while (i < name.size()) {
    const auto byte = static_cast<unsigned char>(name[i]);
    switch (byte) {
      case '"': out << "\\\""; ++i; continue;
      case '\\': out << "\\\\"; ++i; continue;
      case '\b': out << "\\b"; ++i; continue;
      case '\f': out << "\\f"; ++i; continue;
      case '\n': out << "\\n"; ++i; continue;
      case '\r': out << "\\r"; ++i; continue;
      case '\t': out << "\\t"; ++i; continue;
      default: break;
    }
    const std::size_t length = utf8_sequence_length(name.substr(i));
    if (byte < 0x20 || length == 0) {
      write_unicode_escape(out, byte);
      ++i;
    } else {
      out << name.substr(i, length);
      i += length;
    }
  }
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

void write_escaped(std::ostream& out, std::string_view name, text_syntax syntax) {
  if (syntax == text_syntax::dot) {
    write_dot_escaped(out, name);
  } else {
    write_json_escaped(out, name);
  }
}

void write_json_string(std::ostream& out, std::string_view text) {
  out << '"';
  write_escaped(out, text, text_syntax::json);
  out << '"';
}

std::ostream& write_state(std::ostream& out, const fsm_state& s,
                          text_syntax syntax) {
  out << '"';
  if (s.name().empty()) {
    out << "s0";
  } else {
    write_escaped(out, s.name(), syntax);
  }
  return out << '(' << s.id << ")\"";
}

}  // namespace logfsm
