// The one replay of traces on a machine's shape: `check`, the view's
// counts, evaluation and the Python module all step traces through it.
//
// The machine may be nondeterministic, so a replay follows every run at
// once: it starts in the set of initial states; each event moves the set to
// every target of a transition whose source is in the set and whose track is
// the event (a self-loop is a transition like any other). A trace is rejected
// at the first event that leaves the set empty, and at its end when no state
// of the set is accepting. An empty trace thus ends at once, in the initial
// states, which are not accepting in any file logfsm writes.
//
// Asked for its runs, a replay also tells which of them count: of an
// accepted trace its accepting runs, of a rejected one every run up to the
// rejection. For each step (event) it gives the transitions those runs take
// there, and for each position (0 before the first event) the states they
// are in; a transition or state counts once per step or position however
// many runs share it.
#ifndef LOGFSM_CHECKING_REPLAY_H_
#define LOGFSM_CHECKING_REPLAY_H_

#include <compare>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/event_log.h"
#include "model/machine_shape.h"

namespace logfsm {

// An event number for a name that no transition tracks.
inline constexpr std::uint32_t kUnknownEvent = UINT32_MAX;

struct replay_edge {
  std::uint32_t event = 0;
  std::uint32_t to = 0;
  auto operator<=>(const replay_edge&) const = default;  // by event, then to
};

// The shape indexed for replay. States keep their shape numbers.
struct replay_machine {
  // The distinct tracks in name order (unsigned bytes); an event's number
  // is its index, so ascending numbers are names in order.
  std::vector<std::string> events;
  // The edges leaving state s are edges[first_edge[s] .. first_edge[s + 1]),
  // ordered by (event, to) without repeats.
  std::vector<std::size_t> first_edge;
  std::vector<replay_edge> edges;
  // The shape's transitions edge e stands for (one in any file logfsm
  // writes): transitions[first_transition[e] .. first_transition[e + 1]).
  std::vector<std::size_t> first_transition;
  std::vector<std::uint32_t> transitions;
  std::vector<std::uint32_t> initial;  // ascending, distinct
  std::vector<bool> accepting;         // per state
};

// Requires: every state number of `shape` is below shape.states.size(), as
// read_model and shape_of guarantee.
replay_machine compile_model(const machine_shape& shape);

// The number of `name` in machine.events, or kUnknownEvent.
std::uint32_t event_number(const replay_machine& machine, std::string_view name);
// The event number of each of the log's names, by name number.
std::vector<std::uint32_t> event_numbers(const replay_machine& machine, const event_log& log);

enum class replay_detail { outcome, runs };

struct trace_replay {
  bool accepted = false;
  // The number of events taken: the index of the event that was not
  // allowed, or the length of the trace when it ran to its end.
  std::size_t taken = 0;
  // When rejected: the events the machine allows after the events taken,
  // ascending, distinct.
  std::vector<std::uint32_t> allowed;

  // With replay_detail::runs, the runs that count (see above):
  // states_at(p) for positions 0 to taken, transitions_at(i) for steps 0 to
  // taken - 1, each ascending and distinct. A rejected trace stops in
  // states_at(taken).
  std::span<const std::uint32_t> states_at(std::size_t position) const {
    return slice(states, state_ends, position);
  }
  std::span<const std::uint32_t> transitions_at(std::size_t step) const {
    return slice(steps, step_ends, step);
  }
  std::vector<std::uint32_t> states, state_ends;  // position p ends at state_ends[p]
  std::vector<std::uint32_t> steps, step_ends;    // step i ends at step_ends[i]

 private:
  static std::span<const std::uint32_t> slice(const std::vector<std::uint32_t>& all,
                                              const std::vector<std::uint32_t>& ends,
                                              std::size_t i) {
    const std::size_t first = i == 0 ? 0 : ends[i - 1];
    return std::span(all).subspan(first, ends[i] - first);
  }
};

// Replays events given by their numbers (kUnknownEvent is never allowed).
trace_replay replay_trace(const replay_machine& machine, std::span<const std::uint32_t> events,
                          replay_detail detail = replay_detail::outcome);

enum class rejection_reason { event_not_allowed, non_accepting_end };

// How many events before the point of rejection a report quotes.
inline constexpr std::size_t kContextEvents = 3;

struct rejected_trace {
  std::size_t line = 0;  // 1-based line of the log
  rejection_reason reason = rejection_reason::event_not_allowed;
  // The 1-based position of the event not allowed; for a non-accepting end,
  // the number of events of the trace.
  std::size_t position = 0;
  std::string event;  // the event not allowed; empty for an end
  // The last events (at most kContextEvents) taken before the rejection.
  std::vector<std::string> before;
  std::vector<std::string> allowed;  // in name order
};

// Why line `line` (0-based) of `log`, replayed as `replay`, was rejected.
// Requires: replay is of that line and not accepted.
rejected_trace rejection_of(const replay_machine& machine, const event_log& log, std::size_t line,
                            const trace_replay& replay);

struct check_result {
  std::size_t traces = 0;
  std::vector<rejected_trace> rejected;  // in line order
};

// Replays every line of `log` (empty lines included) on `machine`.
check_result check_log(const replay_machine& machine, const event_log& log);

// How many lines of `log` the machine accepts.
std::size_t count_accepted(const replay_machine& machine, const event_log& log);

}  // namespace logfsm

#endif  // LOGFSM_CHECKING_REPLAY_H_
