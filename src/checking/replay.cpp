#include "checking/replay.h"

#include <algorithm>
#include <tuple>

namespace logfsm {
namespace {

void sort_unique(std::vector<std::uint32_t>& values) {
  std::sort(values.begin(), values.end());
  values.erase(std::unique(values.begin(), values.end()), values.end());
}

// The edges of `state` reading `event`, as indices into machine.edges.
std::pair<std::size_t, std::size_t> edge_range(const replay_machine& machine, std::uint32_t state,
                                               std::uint32_t event) {
  const auto first = machine.edges.begin() + static_cast<std::ptrdiff_t>(machine.first_edge[state]);
  const auto last = machine.edges.begin() + static_cast<std::ptrdiff_t>(machine.first_edge[state + 1]);
  const auto from = std::lower_bound(first, last, replay_edge{event, 0});
  auto to = from;
  while (to != last && to->event == event) ++to;
  return {static_cast<std::size_t>(from - machine.edges.begin()),
          static_cast<std::size_t>(to - machine.edges.begin())};
}

// The states reached from `current` by `event`, ascending and distinct.
void step(const replay_machine& machine, std::span<const std::uint32_t> current,
          std::uint32_t event, std::vector<std::uint32_t>& next) {
  next.clear();
  for (const std::uint32_t state : current) {
    const auto [first, last] = edge_range(machine, state, event);
    for (std::size_t e = first; e < last; ++e) next.push_back(machine.edges[e].to);
  }
  sort_unique(next);
}

std::vector<std::uint32_t> allowed_events(const replay_machine& machine,
                                          std::span<const std::uint32_t> current) {
  std::vector<std::uint32_t> allowed;
  for (const std::uint32_t state : current) {
    for (std::size_t e = machine.first_edge[state]; e < machine.first_edge[state + 1]; ++e) {
      allowed.push_back(machine.edges[e].event);
    }
  }
  sort_unique(allowed);
  return allowed;
}

bool any_accepting(const replay_machine& machine, std::span<const std::uint32_t> states) {
  return std::any_of(states.begin(), states.end(),
                     [&machine](std::uint32_t s) { return machine.accepting[s]; });
}

// Fills the runs of `result` that count, from the sets reached at every
// position (result.states as cut by result.state_ends): backwards, a step
// is on a counted run when its target is.
void keep_counted_runs(const replay_machine& machine, std::span<const std::uint32_t> events,
                       trace_replay& result) {
  const std::size_t taken = result.taken;
  std::vector<std::vector<std::uint32_t>> states(taken + 1), steps(taken);
  const std::span<const std::uint32_t> last = result.states_at(taken);
  for (const std::uint32_t s : last) {
    if (!result.accepted || machine.accepting[s]) states[taken].push_back(s);
  }
  for (std::size_t i = taken; i > 0; --i) {
    const std::vector<std::uint32_t>& alive = states[i];
    for (const std::uint32_t s : result.states_at(i - 1)) {
      const auto [first, end] = edge_range(machine, s, events[i - 1]);
      for (std::size_t e = first; e < end; ++e) {
        if (!std::binary_search(alive.begin(), alive.end(), machine.edges[e].to)) continue;
        states[i - 1].push_back(s);
        steps[i - 1].insert(steps[i - 1].end(),
                            machine.transitions.begin() + static_cast<std::ptrdiff_t>(machine.first_transition[e]),
                            machine.transitions.begin() + static_cast<std::ptrdiff_t>(machine.first_transition[e + 1]));
      }
    }
    sort_unique(states[i - 1]);
    sort_unique(steps[i - 1]);
  }
  const auto flatten = [](const std::vector<std::vector<std::uint32_t>>& parts,
                          std::vector<std::uint32_t>& all, std::vector<std::uint32_t>& ends) {
    all.clear();
    ends.clear();
    for (const std::vector<std::uint32_t>& part : parts) {
      all.insert(all.end(), part.begin(), part.end());
      ends.push_back(static_cast<std::uint32_t>(all.size()));
    }
  };
  flatten(states, result.states, result.state_ends);
  flatten(steps, result.steps, result.step_ends);
}

}  // namespace

replay_machine compile_model(const machine_shape& shape) {
  replay_machine machine;
  for (const shape_transition& t : shape.transitions) machine.events.push_back(shape.track(t));
  std::sort(machine.events.begin(), machine.events.end());
  machine.events.erase(std::unique(machine.events.begin(), machine.events.end()),
                       machine.events.end());

  // Every transition grouped by source, then by (event, to); transitions
  // with the same ends make one edge.
  struct sourced_edge {
    std::uint32_t from;
    replay_edge edge;
    std::uint32_t transition;
    auto operator<=>(const sourced_edge&) const = default;
  };
  std::vector<sourced_edge> all;
  all.reserve(shape.transitions.size());
  for (std::uint32_t t = 0; t < shape.transitions.size(); ++t) {
    const shape_transition& s = shape.transitions[t];
    all.push_back({s.from, {event_number(machine, shape.track(s)), s.to}, t});
  }
  std::sort(all.begin(), all.end());

  const std::size_t state_count = shape.states.size();
  machine.first_edge.assign(state_count + 1, 0);
  machine.first_transition.push_back(0);
  for (std::size_t i = 0; i < all.size(); ++i) {
    const sourced_edge& e = all[i];
    if (i == 0 || std::tie(all[i - 1].from, all[i - 1].edge) != std::tie(e.from, e.edge)) {
      ++machine.first_edge[e.from + 1];
      machine.edges.push_back(e.edge);
      machine.first_transition.push_back(machine.first_transition.back());
    }
    machine.transitions.push_back(e.transition);
    ++machine.first_transition.back();
  }
  for (std::size_t s = 0; s < state_count; ++s)
    machine.first_edge[s + 1] += machine.first_edge[s];

  machine.initial = shape.initial;
  sort_unique(machine.initial);
  machine.accepting.assign(state_count, false);
  for (const std::uint32_t s : shape.accepting) machine.accepting[s] = true;
  return machine;
}

std::uint32_t event_number(const replay_machine& machine, std::string_view name) {
  const auto it = std::lower_bound(machine.events.begin(), machine.events.end(), name);
  if (it == machine.events.end() || *it != name) return kUnknownEvent;
  return static_cast<std::uint32_t>(it - machine.events.begin());
}

std::vector<std::uint32_t> event_numbers(const replay_machine& machine, const event_log& log) {
  std::vector<std::uint32_t> numbers;
  numbers.reserve(log.names().size());
  for (const std::string& name : log.names()) numbers.push_back(event_number(machine, name));
  return numbers;
}

trace_replay replay_trace(const replay_machine& machine, std::span<const std::uint32_t> events,
                          replay_detail detail) {
  trace_replay result;
  const bool runs = detail == replay_detail::runs;
  std::vector<std::uint32_t> current = machine.initial;
  std::vector<std::uint32_t> next;
  if (runs) {
    result.states = current;
    result.state_ends.push_back(static_cast<std::uint32_t>(current.size()));
  }
  for (; result.taken < events.size(); ++result.taken) {
    step(machine, current, events[result.taken], next);
    if (next.empty()) break;
    current.swap(next);
    if (runs) {
      result.states.insert(result.states.end(), current.begin(), current.end());
      result.state_ends.push_back(static_cast<std::uint32_t>(result.states.size()));
    }
  }
  result.accepted = result.taken == events.size() && any_accepting(machine, current);
  if (!result.accepted) result.allowed = allowed_events(machine, current);
  if (runs) keep_counted_runs(machine, events, result);
  return result;
}

rejected_trace rejection_of(const replay_machine& machine, const event_log& log, std::size_t line,
                            const trace_replay& replay) {
  const std::span<const std::uint32_t> names = log.line(line);
  rejected_trace r;
  r.line = line + 1;
  const bool at_end = replay.taken == names.size();
  r.reason = at_end ? rejection_reason::non_accepting_end : rejection_reason::event_not_allowed;
  r.position = at_end ? replay.taken : replay.taken + 1;
  if (!at_end) r.event = log.names()[names[replay.taken]];
  for (std::size_t i = replay.taken - std::min(replay.taken, kContextEvents); i < replay.taken;
       ++i) {
    r.before.push_back(log.names()[names[i]]);
  }
  for (const std::uint32_t e : replay.allowed) r.allowed.push_back(machine.events[e]);
  return r;
}

namespace {

// Calls visit(line, replay) for every line of `log` replayed on `machine`.
template <typename Visit>
void replay_lines(const replay_machine& machine, const event_log& log, Visit visit) {
  const std::vector<std::uint32_t> to_machine = event_numbers(machine, log);
  std::vector<std::uint32_t> events;
  for (std::size_t line = 0; line < log.line_count(); ++line) {
    events.clear();
    for (const std::uint32_t n : log.line(line)) events.push_back(to_machine[n]);
    visit(line, replay_trace(machine, events));
  }
}

}  // namespace

check_result check_log(const replay_machine& machine, const event_log& log) {
  check_result result;
  result.traces = log.line_count();
  replay_lines(machine, log, [&](std::size_t line, const trace_replay& replay) {
    if (!replay.accepted) result.rejected.push_back(rejection_of(machine, log, line, replay));
  });
  return result;
}

std::size_t count_accepted(const replay_machine& machine, const event_log& log) {
  std::size_t accepted = 0;
  replay_lines(machine, log, [&accepted](std::size_t, const trace_replay& replay) {
    accepted += replay.accepted ? 1 : 0;
  });
  return accepted;
}

}  // namespace logfsm
