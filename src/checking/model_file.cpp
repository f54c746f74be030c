#include "checking/model_file.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

namespace logfsm {
namespace {

// Thrown inside the parser only, to leave every level of recursion at once.
struct json_error {
  std::size_t offset;
  std::string what;
};

struct json_reader {
  std::string_view text;
  std::size_t pos = 0;

  [[noreturn]] void fail(const std::string& what) const { throw json_error{pos, what}; }
  bool at_end() const { return pos >= text.size(); }
  char peek() const { return at_end() ? '\0' : text[pos]; }

  void skip_space() {
    while (!at_end() &&
           (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')) {
      ++pos;
    }
  }
  void expect(char c) {
    skip_space();
    if (peek() != c) fail(std::string("expected '") + c + "'");
    ++pos;
  }
  // Consumes `c` after white space when it is next.
  bool accept(char c) {
    skip_space();
    if (peek() != c) return false;
    ++pos;
    return true;
  }

  json_value value(int depth);
  void container(json_value& v, int depth);
  std::string string();
  unsigned hex4();
  void escape(std::string& out);
  json_value literal();
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

json_value json_reader::value(int depth) {
  skip_space();
  if (at_end()) fail("unexpected end of the file");
  json_value v;
  if (peek() == '{' || peek() == '[') {
    if (depth >= kMaxJsonDepth)
      fail("nested deeper than " + std::to_string(kMaxJsonDepth));
    container(v, depth + 1);
  } else if (peek() == '"') {
    v.type = json_value::kind::string;
    v.text = string();
  } else {
    v = literal();
  }
  return v;
}

void json_reader::container(json_value& v, int depth) {
  const bool object = text[pos++] == '{';
  const char close = object ? '}' : ']';
  v.type = object ? json_value::kind::object : json_value::kind::array;
  if (accept(close)) return;
  do {
    if (object) {
      skip_space();
      if (peek() != '"') fail("expected a member name");
      v.keys.push_back(string());
      expect(':');
    }
    v.items.push_back(value(depth));
  } while (accept(','));
  skip_space();
  if (peek() != close) fail(std::string("expected ',' or '") + close + "'");
  ++pos;
}

std::string json_reader::string() {
  ++pos;  // the opening quote
  std::string out;
  for (;;) {
    if (at_end()) fail("unterminated string");
    const auto c = static_cast<unsigned char>(text[pos]);
    if (c == '"') break;
    if (c < 0x20) fail("control character in a string");
    if (c == '\\') {
      escape(out);
    } else {
      out.push_back(static_cast<char>(c));
      ++pos;
    }
  }
  ++pos;
  return out;
}

unsigned json_reader::hex4() {
  unsigned cp = 0;
  for (int i = 0; i < 4; ++i, ++pos) {
    const char c = peek();
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (digit < 0) fail("expected four hex digits after \\u");
    cp = cp * 16 + static_cast<unsigned>(digit);
  }
  return cp;
}

void json_reader::escape(std::string& out) {
  ++pos;  // the backslash
  const char c = peek();
  if (at_end()) fail("unterminated string");
  ++pos;
  // The one-letter escapes and what each stands for.
  constexpr std::string_view kLetters = "\"\\/bfnrt";
  constexpr std::string_view kMeanings = "\"\\/\b\f\n\r\t";
  if (const std::size_t i = kLetters.find(c); i != std::string_view::npos) {
    out.push_back(kMeanings[i]);
    return;
  }
  if (c != 'u') {
    --pos;
    fail("invalid escape");
  }
  std::uint32_t cp = hex4();
  if (cp >= 0xDC00 && cp <= 0xDFFF) fail("unpaired surrogate");
  if (cp >= 0xD800 && cp <= 0xDBFF) {
    if (text.substr(pos, 2) != "\\u") fail("unpaired surrogate");
    pos += 2;
    const std::uint32_t low = hex4();
    if (low < 0xDC00 || low > 0xDFFF) fail("unpaired surrogate");
    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
  }
  if (cp <= 0xFF) {
    out.push_back(static_cast<char>(cp));  // a character below 0x80, or a raw byte
  } else {
    append_utf8(out, cp);
  }
}

bool digit(char c) { return c >= '0' && c <= '9'; }

json_value json_reader::literal() {
  const std::size_t start = pos;
  json_value v;
  for (const std::string_view word : {"true", "false", "null"}) {
    if (text.substr(pos, word.size()) == word) {
      pos += word.size();
      v.type = word == "null" ? json_value::kind::null : json_value::kind::boolean;
      v.text = word;
      return v;
    }
  }
  const auto digits = [this] {
    const std::size_t first = pos;
    while (digit(peek())) ++pos;
    if (pos == first) fail("invalid number");
  };
  if (peek() == '-') ++pos;
  if (peek() == '0') {
    ++pos;
  } else if (digit(peek())) {
    digits();
  } else {
    pos = start;
    fail("expected a value");
  }
  if (peek() == '.') {
    ++pos;
    digits();
  }
  if (peek() == 'e' || peek() == 'E') {
    ++pos;
    if (peek() == '+' || peek() == '-') ++pos;
    digits();
  }
  v.type = json_value::kind::number;
  v.text = text.substr(start, pos - start);
  return v;
}

std::string position_of(std::string_view text, std::size_t offset) {
  const std::string_view before = text.substr(0, offset);
  std::size_t line = 1;
  for (const char c : before) line += c == '\n';
  const std::size_t line_start = before.rfind('\n');
  const std::size_t column =
      offset - (line_start == std::string_view::npos ? 0 : line_start + 1) + 1;
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// ---- The shape of a logfsm machine ----

// Raised by the shape checks with the text inside "not a logfsm model (...)".
struct shape_error {
  std::string what;
};

std::string quoted(std::string_view key) {
  std::string text;
  text.reserve(key.size() + 2);
  text.push_back('"');
  text.append(key);
  text.push_back('"');
  return text;
}

// The value of the member `key` of `object` when it has the type `type`.
const json_value& member(const json_value& object, std::string_view key,
                         json_value::kind type, const std::string& where) {
  const json_value* found = nullptr;
  for (std::size_t i = 0; i < object.keys.size(); ++i) {
    if (object.keys[i] != key) continue;
    if (found != nullptr) throw shape_error{where + "two members " + quoted(key)};
    found = &object.items[i];
  }
  if (found == nullptr || found->type != type) {
    const char* noun = type == json_value::kind::string  ? " string"
                       : type == json_value::kind::array ? " array"
                                                         : " object";
    throw shape_error{where + "no " + quoted(key) + noun};
  }
  return *found;
}

// True for "NAME(ID)" with ID a decimal number that fits 16 bits signed.
bool has_state_id(std::string_view state) {
  const std::size_t open = state.rfind('(');
  if (open == std::string_view::npos || state.size() < open + 3 || state.back() != ')')
    return false;
  const std::string_view id = state.substr(open + 1, state.size() - open - 2);
  std::int16_t value = 0;
  const auto [end, ec] = std::from_chars(id.data(), id.data() + id.size(), value);
  return ec == std::errc() && end == id.data() + id.size();
}

struct model_builder {
  model_file model;
  std::unordered_map<std::string, std::uint32_t> numbers;

  std::uint32_t state(const json_value& v, const std::string& where) {
    if (v.type != json_value::kind::string)
      throw shape_error{where + "a state that is not a string"};
    if (!has_state_id(v.text))
      throw shape_error{where + "a state without \"(ID)\" at its end"};
    const auto [it, added] =
        numbers.try_emplace(v.text, static_cast<std::uint32_t>(numbers.size()));
    if (added) model.states.push_back(v.text);
    return it->second;
  }

  std::vector<std::uint32_t> state_set(const json_value& meta, std::string_view key) {
    std::vector<std::uint32_t> set;
    for (const json_value& v : member(meta, key, json_value::kind::array, "").items) {
      set.push_back(state(v, quoted(key) + " holds "));
    }
    std::sort(set.begin(), set.end());
    set.erase(std::unique(set.begin(), set.end()), set.end());
    return set;
  }

  void transition(const json_value& v, std::size_t index) {
    const std::string where = "transition " + std::to_string(index + 1) + ": ";
    if (v.type != json_value::kind::object) throw shape_error{where + "not an object"};
    model_transition t;
    t.from = state(member(v, "from", json_value::kind::string, where), where);
    t.to = state(member(v, "to", json_value::kind::string, where), where);
    t.track = member(v, "track", json_value::kind::string, where).text;
    const std::string& to = model.states[t.to];
    const std::string name = t.track.empty() ? "s0" : t.track;
    if (to.substr(0, to.rfind('(')) != name) {
      throw shape_error{where + "\"track\" is not the event of \"to\""};
    }
    model.transitions.push_back(std::move(t));
  }
};

model_file build_model(const json_value& top) {
  if (top.type != json_value::kind::object) throw shape_error{"not a JSON object"};
  model_builder b;
  for (const json_value& v : member(top, "states", json_value::kind::array, "").items) {
    b.state(v, "\"states\" holds ");
  }
  const json_value& transitions = member(top, "transitions", json_value::kind::array, "");
  for (std::size_t i = 0; i < transitions.items.size(); ++i)
    b.transition(transitions.items[i], i);
  const json_value& meta = member(top, "meta", json_value::kind::object, "");
  b.model.accepting = b.state_set(meta, "isAccepting");
  b.model.initial = b.state_set(meta, "isInitial");
  if (b.model.initial.empty()) throw shape_error{"\"isInitial\" is empty"};
  return std::move(b.model);
}

}  // namespace

json_parse parse_json(std::string_view text) {
  json_parse result;
  json_reader reader{text};
  try {
    result.value = reader.value(0);
    reader.skip_space();
    if (!reader.at_end()) reader.fail("text after the end of the JSON value");
  } catch (const json_error& e) {
    result.value = json_value();
    result.error = "malformed JSON at " + position_of(text, e.offset) + ": " + e.what;
  }
  return result;
}

model_read read_model(std::string_view text) {
  model_read result;
  json_parse json = parse_json(text);
  if (!json.error.empty()) {
    result.error = std::move(json.error);
    return result;
  }
  try {
    result.model = build_model(json.value);
  } catch (const shape_error& e) {
    result.error = "not a logfsm model (" + e.what + ")";
  }
  return result;
}

}  // namespace logfsm
