#include "view/usage.h"

#include <algorithm>
#include <map>
#include <span>

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

// Orders lines by their events, viewed in the log (which outlives the map).
struct span_less {
  bool operator()(std::span<const std::uint32_t> a, std::span<const std::uint32_t> b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
  }
};

void count(use_count& c, std::size_t line, std::size_t examples) {
  ++c.traces;
  if (c.examples.size() < examples) c.examples.push_back(line);
}

// The variants most traces first, ties by first line.
void sort_variants(std::vector<log_variant>& variants) {
  std::sort(variants.begin(), variants.end(), [](const log_variant& a, const log_variant& b) {
    if (a.lines.size() != b.lines.size()) return a.lines.size() > b.lines.size();
    return a.lines.front() < b.lines.front();
  });
}

// Replays the events of `line` once: its counted runs, their transitions
// numbered in `usage.runs` (an equal set shares its number).
variant_use replay_variant(const replay_machine& machine, const std::vector<std::uint32_t>& to_machine,
                           std::span<const std::uint32_t> line, machine_usage& usage,
                           std::map<std::vector<std::uint32_t>, std::size_t>& run_numbers) {
  std::vector<std::uint32_t> events;
  events.reserve(line.size());
  for (const std::uint32_t n : line) events.push_back(to_machine[n]);
  variant_use use;
  use.replay = replay_trace(machine, events, replay_detail::runs);
  std::vector<std::uint32_t> run = union_of(use.replay.steps);
  const auto [numbered, added] = run_numbers.try_emplace(run, usage.runs.size());
  if (added) usage.runs.push_back(std::move(run));
  use.run = numbered->second;
  use.states = union_of(use.replay.states);
  return use;
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
  // Keyed by the log's name numbers, so that names the machine does not
  // know keep variants apart; the value indexes `uses` and usage.variants.
  std::map<std::span<const std::uint32_t>, std::size_t, span_less> variant_numbers;
  std::vector<variant_use> uses;
  for (std::size_t i = 0; i < log.line_count(); ++i) {
    const std::span<const std::uint32_t> line = log.line(i);
    const auto [found, added] = variant_numbers.try_emplace(line, uses.size());
    if (added) {
      uses.push_back(replay_variant(machine, to_machine, line, usage, run_numbers));
      usage.variants.push_back({std::vector<std::uint32_t>(line.begin(), line.end()), {}});
    }
    usage.variants[found->second].lines.push_back(i + 1);
    const variant_use& use = uses[found->second];
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
  sort_variants(usage.variants);
  return usage;
}

}  // namespace logfsm
