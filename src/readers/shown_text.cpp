#include "readers/shown_text.h"

namespace logfsm {
namespace {

unsigned char byte(char c) { return static_cast<unsigned char>(c); }

void append_escaped(char c, std::string& out) {
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

}  // namespace

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
    } else {
      append_escaped(c, out);
    }
  }
  if (cut) out += "...";
  return out;
}

}  // namespace logfsm
