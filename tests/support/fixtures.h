// Short builders for states, transitions, machines and logs in tests.
#ifndef LOGFSM_TESTS_SUPPORT_FIXTURES_H_
#define LOGFSM_TESTS_SUPPORT_FIXTURES_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "model/fsm_builder.h"
#include "model/machine.h"
#include "model/machine_shape.h"

namespace logfsm::testing {

// A new state of a new event named `name` (its own flag, false).
fsm_state st(const std::string& name, std::int16_t id = 0);

// A transition between copies of `from` and `to`, with `used` as given.
fsm_transition tr(const fsm_state& from, const fsm_state& to, bool used = false);

// A window of new events with these names.
window events(std::initializer_list<std::string> names);

// The machine's transitions in order, one "from->to" per line, states written
// as name/id (the initial state as /-1), with " used" after used ones, e.g.
// "/-1->a/0 used\na/0->b/3\n".
std::string describe(const machine& m);

// A path or a state list written as "a/0 b/3 c/0".
std::string describe(const std::vector<fsm_state>& states);

// Every state named like `e`, as machine::next_state_with_event hands them
// out one after the other.
std::vector<fsm_state> states_named(const machine& m, const event_type& e);

// A machine holding exactly these transitions (inserted in this order).
machine machine_of(std::initializer_list<fsm_transition> transitions);

// Adds a window of these names to builder.observed_windows.
void observe(fsm_builder& builder, std::initializer_list<std::string> names);

// A builder made from log text (one trace per line, events ended by ";").
fsm_builder builder_from_log(const std::string& log_text, std::int32_t k);

// A shape by hand: states as texts "NAME(ID)", transitions as (from, to)
// state indices reading the name of `to` (s0 standing for the empty name),
// the first state initial.
machine_shape shape_of_texts(const std::vector<std::string>& states,
                             const std::vector<std::pair<std::uint32_t, std::uint32_t>>& transitions,
                             const std::vector<std::uint32_t>& accepting);

// The DOT text (with its final line end) and the JSON text of a machine.
std::string dot_text(const machine& m);
std::string json_text(const machine& m);

// Success when `text` is one JSON value to nlohmann/json's strict parser,
// which also refuses ill-formed UTF-8 and raw control characters in strings;
// otherwise the parser's message, which says where it stopped.
::testing::AssertionResult parses_as_json(const std::string& text);

// A byte read as Latin-1, in UTF-8: what the writers' \u00XX escape of a byte
// that is not part of valid UTF-8 decodes to.
std::string latin1(unsigned char byte);

}  // namespace logfsm::testing

#endif  // LOGFSM_TESTS_SUPPORT_FIXTURES_H_
