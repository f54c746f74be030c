#include "dot_grammar.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <system_error>
#include <utility>

namespace logfsm::fuzzing {
namespace {

struct cursor {
  std::string_view text;
  std::size_t pos = 0;

  // Consumes `s` when the text continues with it.
  bool take(std::string_view s) {
    if (!text.substr(pos).starts_with(s)) return false;
    pos += s.size();
    return true;
  }
  bool next_is(char c) const { return pos < text.size() && text[pos] == c; }
};

// Reads a QUOTED into `out`, escapes decoded.
bool quoted(cursor& c, std::string& out) {
  if (!c.take("\"")) return false;
  out.clear();
  while (c.pos < c.text.size()) {
    const char ch = c.text[c.pos++];
    if (ch == '"') return true;
    if (ch == '\n') return false;
    if (ch != '\\') {
      out += ch;
      continue;
    }
    if (c.pos == c.text.size()) return false;
    const char escaped = c.text[c.pos++];
    if (escaped == '"' || escaped == '\\') {
      out += escaped;
    } else if (escaped == '0') {
      out += '\0';
    } else {
      return false;
    }
  }
  return false;
}

// Reads a STATE; sets `text` to its whole text and `name` to its NAME.
bool state(cursor& c, std::string& text, std::string& name) {
  if (!quoted(c, text)) return false;
  const std::size_t open = text.rfind('(');
  if (open == std::string::npos || open == 0 || text.back() != ')') return false;
  const std::string_view id =
      std::string_view(text).substr(open + 1, text.size() - open - 2);
  int value = 0;
  const auto [end, ec] = std::from_chars(id.data(), id.data() + id.size(), value);
  if (ec != std::errc() || end != id.data() + id.size() ||
      value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max() ||
      std::to_string(value) != id) {
    return false;
  }
  name = text.substr(0, open);
  return true;
}

}  // namespace

dot_parse parse_dot(std::string_view text) {
  dot_parse result;
  cursor c{text};
  const auto fail = [&](std::string_view expected) {
    result.error = "DOT at byte " + std::to_string(c.pos) + ": expected ";
    result.error += expected;
    return result;
  };
  std::string text_of, name;
  if (!c.take("Digraph {\nnode [shape = doublecircle];")) return fail("the header");
  if (c.next_is('"')) {
    while (c.next_is('"')) {
      if (!state(c, text_of, name)) return fail("an accepting state");
      if (!c.take(" ")) return fail("' ' after an accepting state");
      result.graph.accepting.push_back(text_of);
    }
    if (!c.take(";")) return fail("';' after the accepting states");
  }
  if (!c.take("\nnode [shape = circle];\n")) return fail("the circle default");
  while (c.next_is('"')) {
    dot_edge edge;
    if (!state(c, edge.from, name)) return fail("a source state");
    if (!c.take("->")) return fail("'->'");
    if (!state(c, edge.to, name)) return fail("a target state");
    if (!c.take("[label = ") || !quoted(c, edge.label) || !c.take("]\n")) {
      return fail("a label and a line end");
    }
    if (edge.label != name && !(edge.label.empty() && name == "s0")) {
      return fail("the label to name the target's event");
    }
    result.graph.edges.push_back(std::move(edge));
  }
  if (!c.take("}\n") || c.pos != text.size()) return fail("'}' and a line end to end the text");
  return result;
}

}  // namespace logfsm::fuzzing
