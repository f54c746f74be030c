#include "checking/replay.h"

#include <algorithm>

namespace logfsm {
namespace {

std::span<const replay_edge> edges_of(const replay_machine& machine,
                                      std::uint32_t state) {
  return std::span(machine.edges)
      .subspan(machine.first_edge[state],
               machine.first_edge[state + 1] - machine.first_edge[state]);
}

void sort_unique(std::vector<std::uint32_t>& values) {
  std::sort(values.begin(), values.end());
  values.erase(std::unique(values.begin(), values.end()), values.end());
}

// The states reached from `current` by `event`, ascending and distinct.
void step(const replay_machine& machine, const std::vector<std::uint32_t>& current,
          std::uint32_t event, std::vector<std::uint32_t>& next) {
  next.clear();
  for (const std::uint32_t state : current) {
    const std::span<const replay_edge> edges = edges_of(machine, state);
    auto it = std::lower_bound(edges.begin(), edges.end(), replay_edge{event, 0});
    for (; it != edges.end() && it->event == event; ++it) next.push_back(it->to);
  }
  sort_unique(next);
}

std::vector<std::uint32_t> allowed_events(const replay_machine& machine,
                                          const std::vector<std::uint32_t>& current) {
  std::vector<std::uint32_t> allowed;
  for (const std::uint32_t state : current) {
    for (const replay_edge& e : edges_of(machine, state)) allowed.push_back(e.event);
  }
  sort_unique(allowed);
  return allowed;
}

}  // namespace

replay_machine compile_model(const model_file& model) {
  replay_machine machine;
  for (const model_transition& t : model.transitions) machine.events.push_back(t.track);
  std::sort(machine.events.begin(), machine.events.end());
  machine.events.erase(std::unique(machine.events.begin(), machine.events.end()),
                       machine.events.end());

  // Every transition once, grouped by source, then by (event, to).
  struct sourced_edge {
    std::uint32_t from;
    replay_edge edge;
    auto operator<=>(const sourced_edge&) const = default;
  };
  std::vector<sourced_edge> all;
  for (const model_transition& t : model.transitions) {
    all.push_back({t.from, {event_number(machine, t.track), t.to}});
  }
  std::sort(all.begin(), all.end());
  all.erase(std::unique(all.begin(), all.end()), all.end());

  const std::size_t state_count = model.states.size();
  machine.first_edge.assign(state_count + 1, 0);
  for (const sourced_edge& e : all) {
    ++machine.first_edge[e.from + 1];
    machine.edges.push_back(e.edge);
  }
  for (std::size_t s = 0; s < state_count; ++s)
    machine.first_edge[s + 1] += machine.first_edge[s];

  machine.initial = model.initial;
  sort_unique(machine.initial);
  machine.accepting.assign(state_count, false);
  for (const std::uint32_t s : model.accepting) machine.accepting[s] = true;
  return machine;
}

std::uint32_t event_number(const replay_machine& machine, std::string_view name) {
  const auto it = std::lower_bound(machine.events.begin(), machine.events.end(), name);
  if (it == machine.events.end() || *it != name) return kUnknownEvent;
  return static_cast<std::uint32_t>(it - machine.events.begin());
}

trace_replay replay_trace(const replay_machine& machine,
                          std::span<const std::uint32_t> events) {
  trace_replay result;
  std::vector<std::uint32_t> current = machine.initial;
  std::vector<std::uint32_t> next;
  for (; result.taken < events.size(); ++result.taken) {
    step(machine, current, events[result.taken], next);
    if (next.empty()) {
      result.allowed = allowed_events(machine, current);
      return result;
    }
    current.swap(next);
  }
  result.accepted =
      std::any_of(current.begin(), current.end(),
                  [&machine](std::uint32_t s) { return machine.accepting[s]; });
  if (!result.accepted) result.allowed = allowed_events(machine, current);
  return result;
}

check_result check_log(const replay_machine& machine, const event_log& log) {
  // Log name numbers to machine event numbers, looked up once per name.
  std::vector<std::uint32_t> to_machine;
  for (const std::string& name : log.names())
    to_machine.push_back(event_number(machine, name));

  check_result result;
  result.traces = log.line_count();
  std::vector<std::uint32_t> events;
  for (std::size_t line = 0; line < log.line_count(); ++line) {
    const std::span<const std::uint32_t> names = log.line(line);
    events.clear();
    for (const std::uint32_t n : names) events.push_back(to_machine[n]);
    trace_replay replay = replay_trace(machine, events);
    if (replay.accepted) continue;

    rejected_trace r;
    r.line = line + 1;
    const bool at_end = replay.taken == names.size();
    r.reason = at_end ? rejection_reason::non_accepting_end
                      : rejection_reason::event_not_allowed;
    r.position = at_end ? replay.taken : replay.taken + 1;
    if (!at_end) r.event = log.names()[names[replay.taken]];
    for (std::size_t i = replay.taken - std::min(replay.taken, kContextEvents);
         i < replay.taken; ++i) {
      r.before.push_back(log.names()[names[i]]);
    }
    for (const std::uint32_t e : replay.allowed) r.allowed.push_back(machine.events[e]);
    result.rejected.push_back(std::move(r));
  }
  return result;
}

}  // namespace logfsm
