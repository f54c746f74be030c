#include "view/usage.h"

#include <algorithm>
#include <map>

namespace logfsm {
namespace {

// What the counted runs of one sequence of events use.
struct variant_use {
  trace_replay replay;
  std::size_t run = 0;                // index into machine_usage::runs
  std::vector<std::uint32_t> states;  // on the runs, ascending
};

// The distinct values of `all`, ascending: what counted runs take at any
// step, or visit at any position.
std::vector<std::uint32_t> union_of(const std::vector<std::uint32_t>& all) {
  std::vector<std::uint32_t> values = all;
  std::sort(values.begin(), values.end());
  values.erase(std::unique(values.begin(), values.end()), values.end());
  return values;
}

void count(use_count& c, std::size_t line, std::size_t examples) {
  ++c.traces;
  if (c.examples.size() < examples) c.examples.push_back(line);
}

}  // namespace

machine_usage count_usage(const machine_shape& shape, const replay_machine& machine,
                          const event_log& log, std::size_t examples) {
  machine_usage usage;
  usage.states.resize(shape.states.size());
  usage.transitions.resize(shape.transitions.size());
  usage.traces.resize(log.line_count());

  const std::vector<std::uint32_t> to_machine = event_numbers(machine, log);
  std::map<std::vector<std::uint32_t>, std::size_t> run_numbers;
  std::map<std::vector<std::uint32_t>, variant_use> variants;
  std::vector<std::uint32_t> events;
  for (std::size_t i = 0; i < log.line_count(); ++i) {
    events.clear();
    for (const std::uint32_t n : log.line(i)) events.push_back(to_machine[n]);
    auto found = variants.find(events);
    if (found == variants.end()) {
      variant_use use;
      use.replay = replay_trace(machine, events, replay_detail::runs);
      std::vector<std::uint32_t> run = union_of(use.replay.steps);
      const auto [numbered, added] = run_numbers.try_emplace(run, usage.runs.size());
      if (added) usage.runs.push_back(std::move(run));
      use.run = numbered->second;
      use.states = union_of(use.replay.states);
      found = variants.emplace(events, std::move(use)).first;
    }
    const variant_use& use = found->second;
    trace_use& trace = usage.traces[i];
    trace.accepted = use.replay.accepted;
    trace.run = use.run;
    if (!trace.accepted) {
      trace.rejection = rejection_of(machine, log, i, use.replay);
      const std::span<const std::uint32_t> stops = use.replay.states_at(use.replay.taken);
      trace.stops.assign(stops.begin(), stops.end());
      continue;
    }
    ++usage.accepted;
    for (const std::uint32_t t : usage.runs[use.run]) count(usage.transitions[t], i + 1, examples);
    for (const std::uint32_t s : use.states) count(usage.states[s], i + 1, examples);
  }
  return usage;
}

}  // namespace logfsm
