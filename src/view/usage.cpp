#include "view/usage.h"

#include <algorithm>
#include <map>
#include <span>

namespace logfsm {
namespace {

// What the runs of one sequence of events use.
struct variant_use {
  bool accepted = false;
  std::size_t run = 0;                  // index into machine_usage::runs
  std::vector<std::uint32_t> states;    // visited by accepting runs, ascending
};

// The edges of `state` tracking `event`, as indices into machine.edges.
std::pair<std::size_t, std::size_t> edge_range(const replay_machine& machine,
                                               std::uint32_t state, std::uint32_t event) {
  const auto first = machine.edges.begin() + static_cast<std::ptrdiff_t>(machine.first_edge[state]);
  const auto last = machine.edges.begin() + static_cast<std::ptrdiff_t>(machine.first_edge[state + 1]);
  const auto from = std::lower_bound(first, last, replay_edge{event, 0});
  auto to = from;
  while (to != last && to->event == event) ++to;
  return {static_cast<std::size_t>(from - machine.edges.begin()),
          static_cast<std::size_t>(to - machine.edges.begin())};
}

void sort_unique(std::vector<std::uint32_t>& values) {
  std::sort(values.begin(), values.end());
  values.erase(std::unique(values.begin(), values.end()), values.end());
}

class usage_counter {
 public:
  usage_counter(const model_file& model, const replay_machine& machine)
      : machine_(machine), model_of_edge_(machine.edges.size()) {
    // Each machine edge stands for the model transitions with its source,
    // track and target (one, in any file logfsm writes).
    for (std::size_t t = 0; t < model.transitions.size(); ++t) {
      const model_transition& m = model.transitions[t];
      const std::uint32_t event = event_number(machine, m.track);
      const auto [first, last] = edge_range(machine, m.from, event);
      for (std::size_t e = first; e < last; ++e) {
        if (machine.edges[e].to == m.to) model_of_edge_[e].push_back(static_cast<std::uint32_t>(t));
      }
    }
  }

  // Follows every run of `events` forward, then keeps of them those that
  // end where the trace is judged: in an accepting state when it is
  // accepted, else anywhere in the last set it reached.
  variant_use use_of(std::span<const std::uint32_t> events, machine_usage& usage) {
    std::vector<std::vector<std::uint32_t>> reached{machine_.initial};
    std::vector<std::uint32_t> next;
    for (const std::uint32_t event : events) {
      next.clear();
      for (const std::uint32_t s : reached.back()) {
        const auto [first, last] = edge_range(machine_, s, event);
        for (std::size_t e = first; e < last; ++e) next.push_back(machine_.edges[e].to);
      }
      sort_unique(next);
      if (next.empty()) break;
      reached.push_back(next);
    }
    variant_use use;
    std::vector<std::uint32_t> alive = reached.back();
    if (reached.size() == events.size() + 1) {
      std::vector<std::uint32_t> accepting;
      for (const std::uint32_t s : alive) {
        if (machine_.accepting[s]) accepting.push_back(s);
      }
      if (!accepting.empty()) {
        use.accepted = true;
        alive.swap(accepting);
      }
    }
    // Backwards: a step is on a kept run when its target is.
    std::vector<std::uint32_t> run;
    std::vector<std::uint32_t> states = alive;
    for (std::size_t i = reached.size() - 1; i > 0; --i) {
      std::vector<std::uint32_t> before;
      for (const std::uint32_t s : reached[i - 1]) {
        const auto [first, last] = edge_range(machine_, s, events[i - 1]);
        for (std::size_t e = first; e < last; ++e) {
          if (!std::binary_search(alive.begin(), alive.end(), machine_.edges[e].to)) continue;
          before.push_back(s);
          run.insert(run.end(), model_of_edge_[e].begin(), model_of_edge_[e].end());
        }
      }
      sort_unique(before);
      states.insert(states.end(), before.begin(), before.end());
      alive.swap(before);
    }
    sort_unique(run);
    sort_unique(states);
    if (use.accepted) use.states = std::move(states);
    const auto [it, added] = run_numbers_.try_emplace(run, usage.runs.size());
    if (added) usage.runs.push_back(std::move(run));
    use.run = it->second;
    return use;
  }

 private:
  const replay_machine& machine_;
  std::vector<std::vector<std::uint32_t>> model_of_edge_;  // per machine edge
  std::map<std::vector<std::uint32_t>, std::size_t> run_numbers_;
};

void count(use_count& c, std::size_t line, std::size_t examples) {
  ++c.traces;
  if (c.examples.size() < examples) c.examples.push_back(line);
}

}  // namespace

machine_usage count_usage(const model_file& model, const replay_machine& machine,
                          const event_log& log, std::size_t examples) {
  machine_usage usage;
  usage.states.resize(model.states.size());
  usage.transitions.resize(model.transitions.size());
  usage.traces.resize(log.line_count());

  // Rejected traces get check's own explanation.
  check_result checked = check_log(machine, log);
  for (rejected_trace& r : checked.rejected) usage.traces[r.line - 1].rejection = std::move(r);

  std::vector<std::uint32_t> to_machine;
  for (const std::string& name : log.names()) to_machine.push_back(event_number(machine, name));

  usage_counter counter(model, machine);
  // Traces with the same events are followed once.
  std::map<std::vector<std::uint32_t>, variant_use> variants;
  std::vector<std::uint32_t> events;
  for (std::size_t i = 0; i < log.line_count(); ++i) {
    events.clear();
    for (const std::uint32_t n : log.line(i)) events.push_back(to_machine[n]);
    auto found = variants.find(events);
    if (found == variants.end()) {
      found = variants.emplace(events, counter.use_of(events, usage)).first;
    }
    const variant_use& use = found->second;
    trace_use& trace = usage.traces[i];
    trace.accepted = use.accepted;
    trace.run = use.run;
    if (!use.accepted) continue;
    ++usage.accepted;
    for (const std::uint32_t t : usage.runs[use.run]) count(usage.transitions[t], i + 1, examples);
    for (const std::uint32_t s : use.states) count(usage.states[s], i + 1, examples);
  }
  return usage;
}

}  // namespace logfsm
