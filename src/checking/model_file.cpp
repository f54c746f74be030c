#include "checking/model_file.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <utility>
#include <unordered_map>

#include "checking/json_reader.h"

namespace logfsm {
namespace {

std::string quoted(std::string_view key) {
  std::string text;
  text.reserve(key.size() + 2);
  text.push_back('"');
  text.append(key);
  text.push_back('"');
  return text;
}

// The ID of "NAME(ID)" with ID a decimal number that fits 16 bits signed;
// none for another text.
std::optional<std::int16_t> state_id(std::string_view state) {
  const std::size_t open = state.rfind('(');
  if (open == std::string_view::npos || state.size() < open + 3 || state.back() != ')')
    return std::nullopt;
  const std::string_view id = state.substr(open + 1, state.size() - open - 2);
  std::int16_t value = 0;
  const auto [end, ec] = std::from_chars(id.data(), id.data() + id.size(), value);
  if (ec != std::errc() || end != id.data() + id.size()) return std::nullopt;
  return value;
}

// The NAME of "NAME(ID)" as the text spells it.
std::string_view name_part(std::string_view state) {
  return state.substr(0, state.rfind('('));
}

// Fills a model from a JSON tree. Every step returns false (or null) at the
// first shape error, which it records; every caller then returns at once.
class shape_reader {
 public:
  explicit shape_reader(machine_shape& shape) : shape_(shape) {}

  bool read(const json_value& top);
  // The text inside "not a logfsm model (...)" once read returned false.
  const std::string& what() const { return what_; }

 private:
  bool fail(std::string what) {
    what_ = std::move(what);
    return false;
  }
  const json_value* member(const json_value& object, std::string_view key,
                           json_value::kind type, const std::string& where);
  bool state(const json_value& v, const std::string& where, std::uint32_t& number);
  bool state_set(const json_value& meta, std::string_view key,
                 std::vector<std::uint32_t>& set);
  bool transition(const json_value& v, std::size_t index);

  machine_shape& shape_;
  std::unordered_map<std::string, std::uint32_t> numbers_;
  std::vector<std::string_view> texts_;  // by state number, keys of numbers_
  std::string what_;
};

// The value of the member `key` of `object` when it has the type `type`.
const json_value* shape_reader::member(const json_value& object, std::string_view key,
                                       json_value::kind type, const std::string& where) {
  const json_value* found = nullptr;
  for (std::size_t i = 0; i < object.keys.size(); ++i) {
    if (object.keys[i] != key) continue;
    if (found != nullptr) {
      fail(where + "two members " + quoted(key));
      return nullptr;
    }
    found = &object.items[i];
  }
  if (found == nullptr || found->type != type) {
    const char* noun = type == json_value::kind::string  ? " string"
                       : type == json_value::kind::array ? " array"
                                                         : " object";
    fail(where + "no " + quoted(key) + noun);
    return nullptr;
  }
  return found;
}

bool shape_reader::state(const json_value& v, const std::string& where,
                         std::uint32_t& number) {
  if (v.type != json_value::kind::string)
    return fail(where + "a state that is not a string");
  const std::optional<std::int16_t> id = state_id(v.text);
  if (!id) return fail(where + "a state without \"(ID)\" at its end");
  const auto [it, added] =
      numbers_.try_emplace(v.text, static_cast<std::uint32_t>(numbers_.size()));
  if (added) {
    shape_.states.push_back({std::string(name_part(v.text)), *id});
    texts_.push_back(it->first);
  }
  number = it->second;
  return true;
}

bool shape_reader::state_set(const json_value& meta, std::string_view key,
                             std::vector<std::uint32_t>& set) {
  const json_value* states = member(meta, key, json_value::kind::array, "");
  if (states == nullptr) return false;
  for (const json_value& v : states->items) {
    if (!state(v, quoted(key) + " holds ", set.emplace_back())) return false;
  }
  std::sort(set.begin(), set.end());
  set.erase(std::unique(set.begin(), set.end()), set.end());
  return true;
}

bool shape_reader::transition(const json_value& v, std::size_t index) {
  const std::string where = "transition " + std::to_string(index + 1) + ": ";
  if (v.type != json_value::kind::object) return fail(where + "not an object");
  shape_transition t;
  const json_value* from = member(v, "from", json_value::kind::string, where);
  if (from == nullptr || !state(*from, where, t.from)) return false;
  const json_value* to = member(v, "to", json_value::kind::string, where);
  if (to == nullptr || !state(*to, where, t.to)) return false;
  const json_value* track = member(v, "track", json_value::kind::string, where);
  if (track == nullptr) return false;
  t.track = track->text;
  if (name_part(texts_[t.to]) != spelled_name(t.track))
    return fail(where + "\"track\" is not the event of \"to\"");
  shape_.transitions.push_back(std::move(t));
  return true;
}

bool shape_reader::read(const json_value& top) {
  if (top.type != json_value::kind::object) return fail("not a JSON object");
  const json_value* states = member(top, "states", json_value::kind::array, "");
  if (states == nullptr) return false;
  std::uint32_t number = 0;
  for (const json_value& v : states->items) {
    if (!state(v, "\"states\" holds ", number)) return false;
  }
  const json_value* transitions = member(top, "transitions", json_value::kind::array, "");
  if (transitions == nullptr) return false;
  for (std::size_t i = 0; i < transitions->items.size(); ++i) {
    if (!transition(transitions->items[i], i)) return false;
  }
  const json_value* meta = member(top, "meta", json_value::kind::object, "");
  if (meta == nullptr || !state_set(*meta, "isAccepting", shape_.accepting) ||
      !state_set(*meta, "isInitial", shape_.initial)) {
    return false;
  }
  if (shape_.initial.empty()) return fail("\"isInitial\" is empty");
  return true;
}

}  // namespace

status read_model(std::string_view text, machine_shape& shape) {
  shape = machine_shape();
  json_value json;
  if (status parsed = parse_json(text, json); !parsed.ok()) return parsed;
  shape_reader reader(shape);
  if (reader.read(json)) return status();
  shape = machine_shape();
  return status(status_code::bad_model, "not a logfsm model (" + reader.what() + ")");
}

}  // namespace logfsm
