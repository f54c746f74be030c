// Replaying traces on a machine read from its file.
//
// The machine may be nondeterministic, so a replay follows every path at
// once: it starts in the set of initial states; each event moves the set to
// every target of a transition whose source is in the set and whose track is
// the event (a self-loop is a transition like any other). A trace is rejected
// at the first event that leaves the set empty, and at its end when no state
// of the set is accepting. An empty trace thus ends at once, in the initial
// states, which are not accepting in any file logfsm writes.
#ifndef LOGFSM_CHECKING_REPLAY_H_
#define LOGFSM_CHECKING_REPLAY_H_

#include <compare>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "checking/model_file.h"
#include "model/event_log.h"

namespace logfsm {

// An event number for a name that no transition tracks.
inline constexpr std::uint32_t kUnknownEvent = UINT32_MAX;

struct replay_edge {
  std::uint32_t event = 0;
  std::uint32_t to = 0;
  auto operator<=>(const replay_edge&) const = default;  // by event, then to
};

// The machine indexed for replay. States keep their model_file numbers.
struct replay_machine {
  // The distinct tracks in name order (unsigned bytes); an event's number
  // is its index, so ascending numbers are names in order.
  std::vector<std::string> events;
  // The edges leaving state s are edges[first_edge[s] .. first_edge[s + 1]),
  // ordered by (event, to) without repeats.
  std::vector<std::size_t> first_edge;
  std::vector<replay_edge> edges;
  std::vector<std::uint32_t> initial;  // ascending, distinct
  std::vector<bool> accepting;         // per state
};

// Requires: every state number of `model` is below model.states.size(), as
// read_model guarantees.
replay_machine compile_model(const model_file& model);

// The number of `name` in machine.events, or kUnknownEvent.
std::uint32_t event_number(const replay_machine& machine, std::string_view name);

struct trace_replay {
  bool accepted = false;
  // The number of events taken: the index of the event that was not
  // allowed, or the length of the trace when it ran to its end.
  std::size_t taken = 0;
  // When rejected: the events the machine allows after the events taken,
  // ascending, distinct.
  std::vector<std::uint32_t> allowed;
};

// Replays events given by their numbers (kUnknownEvent is never allowed).
trace_replay replay_trace(const replay_machine& machine,
                          std::span<const std::uint32_t> events);

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

struct check_result {
  std::size_t traces = 0;
  std::vector<rejected_trace> rejected;  // in line order
};

// Replays every line of `log` (empty lines included) on `machine`.
check_result check_log(const replay_machine& machine, const event_log& log);

}  // namespace logfsm

#endif  // LOGFSM_CHECKING_REPLAY_H_
