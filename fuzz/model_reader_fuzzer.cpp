// Reads arbitrary bytes as a model file and checks what `logfsm check`
// relies on:
// - parse_json and read_model either succeed or fail with bad_model and one
//   non-empty line; read_model fails with the JSON error exactly when
//   parse_json fails, and otherwise with "not a logfsm model (...)";
// - a model read names only its states, and lists its initial (at least one)
//   and accepting states in ascending order without repeats;
// - the machine rebuilt from a model (model_machine.h), written as text T,
//   reads back, and the model read from T rebuilds a machine with as many
//   transitions that writes exactly T again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>

#include "checking/json_reader.h"
#include "checking/model_file.h"
#include "model_machine.h"
#include "output/json_writer.h"

namespace {

void check(bool ok, const char* what, const std::string& detail = "") {
  if (ok) return;
  std::fprintf(stderr, "model_reader_fuzzer: %s %s\n", what, detail.c_str());
  std::abort();
}

void check_failure(const logfsm::status& failure, const char* who) {
  const std::string& message = failure.message();
  check(failure.code() == logfsm::status_code::bad_model, who, "fails with another code");
  check(!message.empty() && message.find_first_of("\r\n") == std::string::npos, who,
        "fails without a one-line message");
}

std::string json_of(const logfsm::machine& m) {
  std::ostringstream out;
  logfsm::write_json(out, m);
  return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  logfsm::json_value json;
  const logfsm::status parsed = logfsm::parse_json(text, json);
  if (!parsed.ok()) check_failure(parsed, "parse_json");

  logfsm::machine_shape model;
  const logfsm::status read = logfsm::read_model(text, model);
  if (!read.ok()) {
    check_failure(read, "read_model");
    check(parsed.ok() ? read.message().starts_with("not a logfsm model (")
                      : read.message() == parsed.message(),
          "read_model fails with another error than parse_json:", read.message());
    return 0;
  }
  check(parsed.ok(), "read_model reads text that parse_json refuses");
  const std::size_t states = model.states.size();
  for (const logfsm::shape_transition& t : model.transitions)
    check(t.from < states && t.to < states, "a transition names no state");
  check(!model.initial.empty(), "a model without initial states");
  for (const auto* set : {&model.initial, &model.accepting}) {
    check(std::adjacent_find(set->begin(), set->end(), std::greater_equal<>()) ==
              set->end(),
          "a meta list is not ascending without repeats");
    for (const std::uint32_t s : *set) check(s < states, "a meta entry names no state");
  }

  const logfsm::machine rebuilt = logfsm::fuzzing::machine_of_model(model);
  const std::string written = json_of(rebuilt);
  logfsm::machine_shape again;
  const logfsm::status reread = logfsm::read_model(written, again);
  check(reread.ok(), "the rewritten model does not read back:", reread.message());
  check(again.transitions.size() == rebuilt.size(),
        "the rewritten model holds another number of transitions than its machine");
  const logfsm::machine rebuilt_again = logfsm::fuzzing::machine_of_model(again);
  check(rebuilt_again.size() == rebuilt.size(),
        "the rewritten model rebuilds another number of transitions");
  check(json_of(rebuilt_again) == written, "the rewritten model writes other bytes");
  return 0;
}
