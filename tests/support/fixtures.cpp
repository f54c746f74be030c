#include "support/fixtures.h"

#include <nlohmann/json.hpp>
#include <sstream>

#include "output/dot_writer.h"
#include "output/json_writer.h"
#include "readers/text_log.h"

namespace logfsm::testing {

fsm_state st(const std::string& name, std::int16_t id) {
  return fsm_state(id, make_event(name));
}

fsm_transition tr(const fsm_state& from, const fsm_state& to, bool used) {
  fsm_transition t(from, to);
  *t.used = used;
  return t;
}

window events(std::initializer_list<std::string> names) {
  window w;
  for (const std::string& name : names) w.push_back(make_event(name));
  return w;
}

namespace {

void describe_state(std::ostream& out, const fsm_state& s) {
  out << s.name() << '/' << s.id;
}

}  // namespace

std::string describe(const machine& m) {
  std::ostringstream out;
  for (const fsm_transition& t : m) {
    describe_state(out, t.from);
    out << "->";
    describe_state(out, t.to);
    if (*t.used) out << " used";
    out << '\n';
  }
  return out.str();
}

std::vector<fsm_state> states_named(const machine& m, const event_type& e) {
  std::vector<fsm_state> states;
  for (auto s = m.next_state_with_event(e, nullptr); s; s = m.next_state_with_event(e, &*s)) {
    states.push_back(*s);
  }
  return states;
}

std::string describe(const std::vector<fsm_state>& states) {
  std::ostringstream out;
  for (std::size_t i = 0; i < states.size(); ++i) {
    if (i > 0) out << ' ';
    describe_state(out, states[i]);
  }
  return out.str();
}

machine machine_of(std::initializer_list<fsm_transition> transitions) {
  machine m;
  for (const fsm_transition& t : transitions) m.insert(t);
  return m;
}

void observe(fsm_builder& builder, std::initializer_list<std::string> names) {
  builder.observed_windows.insert(events(names));
}

fsm_builder builder_from_log(const std::string& log_text, std::int32_t k) {
  return fsm_builder(parse_log(log_text), k);
}

std::string dot_text(const machine& m) {
  std::ostringstream out;
  write_dot(out, m) << '\n';
  return out.str();
}

std::string json_text(const machine& m) {
  std::ostringstream out;
  write_json(out, m);
  return out.str();
}

::testing::AssertionResult parses_as_json(const std::string& text) {
  try {
    const nlohmann::json parsed = nlohmann::json::parse(text);
    return ::testing::AssertionSuccess();
  } catch (const nlohmann::json::parse_error& error) {
    return ::testing::AssertionFailure() << error.what();
  }
}

std::string latin1(unsigned char byte) {
  if (byte < 0x80) return std::string(1, static_cast<char>(byte));
  return {static_cast<char>(0xC0 | (byte >> 6)), static_cast<char>(0x80 | (byte & 0x3F))};
}

machine_shape shape_of_texts(const std::vector<std::string>& states,
                             const std::vector<std::pair<std::uint32_t, std::uint32_t>>& transitions,
                             const std::vector<std::uint32_t>& accepting) {
  machine_shape shape;
  for (const std::string& text : states) {
    const std::size_t open = text.rfind('(');
    shape.states.push_back(
        {text.substr(0, open), static_cast<std::int16_t>(std::stoi(text.substr(open + 1)))});
  }
  for (const auto& [from, to] : transitions) {
    const std::string& name = shape.states[to].name;
    shape.transitions.push_back({from, to, name == "s0" ? "" : name});
  }
  shape.initial = {0};
  shape.accepting = accepting;
  return shape;
}

}  // namespace logfsm::testing
