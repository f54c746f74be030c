// Learns a machine from arbitrary bytes and checks what the output files of
// such a run guarantee. The first byte chooses k (2 + byte % 3, so "0", "1"
// and "2" give 2, 3 and 4); the next kMaxLogBytes bytes at most are the log,
// which keeps every run short. Checked:
// - every transition left after refinement is used;
// - the JSON text reads back as a logfsm model (checking/model_file.h) to
//   the machine's shape;
// - the DOT text follows the grammar of the writer (dot_grammar.h), and its
//   edges and accepting states are those of the JSON text, in the same order;
// - learning the same log again in a fresh builder writes the same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "checking/model_file.h"
#include "dot_grammar.h"
#include "learning/pipeline.h"
#include "model/fsm_builder.h"
#include "output/dot_writer.h"
#include "output/json_writer.h"
#include "output/state_text.h"
#include "readers/text_log.h"

namespace {

constexpr std::size_t kMaxLogBytes = 2048;

void check(bool ok, const char* what, const std::string& detail = "") {
  if (ok) return;
  std::fprintf(stderr, "pipeline_fuzzer: %s %s\n", what, detail.c_str());
  std::abort();
}

struct learned {
  std::string dot;   // the file's bytes, line end included
  std::string json;
  std::size_t transitions = 0;
  bool all_used = true;
  logfsm::machine_shape shape;
};

learned learn_log(std::string_view text, std::int32_t k) {
  logfsm::fsm_builder builder(logfsm::parse_log(text), k);
  logfsm::learn(builder, logfsm::progress_sink{});
  learned result;
  result.transitions = builder.transitions.size();
  result.shape = logfsm::shape_of(builder.transitions);
  result.all_used = std::all_of(builder.transitions.begin(), builder.transitions.end(),
                                [](const logfsm::fsm_transition& t) { return *t.used; });
  std::ostringstream dot;
  logfsm::write_dot(dot, builder.transitions) << '\n';
  result.dot = dot.str();
  std::ostringstream json;
  logfsm::write_json(json, builder.transitions);
  result.json = json.str();
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::int32_t k = 2 + data[0] % 3;
  const std::string_view text(reinterpret_cast<const char*>(data + 1),
                              std::min(size - 1, kMaxLogBytes));
  const learned first = learn_log(text, k);
  check(first.all_used, "a transition left in the machine is not used");

  logfsm::machine_shape model;
  const logfsm::status read = logfsm::read_model(first.json, model);
  check(read.ok(), "the JSON text does not read back:", read.message());
  check(model == first.shape, "the JSON text reads back to another shape than the machine's");
  std::vector<std::string> states;
  for (const logfsm::shape_state& s : model.states) states.push_back(logfsm::state_text(s.name, s.id));

  const logfsm::fuzzing::dot_parse dot = logfsm::fuzzing::parse_dot(first.dot);
  check(dot.error.empty(), "the DOT text does not parse:", dot.error);
  check(dot.graph.edges.size() == first.transitions,
        "the DOT text holds another number of edges than the machine");
  for (std::size_t i = 0; i < dot.graph.edges.size(); ++i) {
    const logfsm::fuzzing::dot_edge& edge = dot.graph.edges[i];
    const logfsm::shape_transition& t = model.transitions[i];
    check(edge.from == states[t.from] && edge.to == states[t.to] && edge.label == model.track(t),
          "DOT and JSON differ at transition", std::to_string(i));
  }
  std::set<std::string> accepting_json;
  for (const std::uint32_t s : model.accepting) accepting_json.insert(states[s]);
  check(std::set<std::string>(dot.graph.accepting.begin(), dot.graph.accepting.end()) ==
            accepting_json,
        "DOT and JSON list different accepting states");

  const learned again = learn_log(text, k);
  check(again.dot == first.dot, "learning again writes another DOT text");
  check(again.json == first.json, "learning again writes another JSON text");
  return 0;
}
