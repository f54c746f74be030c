// Which traces of a log use each state and transition of a machine, and
// the log's variants (its distinct traces).
//
// A trace uses a transition when some accepting run of it takes the
// transition, and a state when some accepting run visits it; runs are those
// of the one replay (checking/replay.h). A rejected trace uses nothing, but
// has a run up to the point where it was rejected: every transition of a
// run of its events taken before that point.
#ifndef LOGFSM_VIEW_USAGE_H_
#define LOGFSM_VIEW_USAGE_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "checking/replay.h"
#include "model/event_log.h"
#include "model/machine_shape.h"

namespace logfsm {

struct use_count {
  std::size_t traces = 0;
  // The 1-based lines of the first traces that use it, at most the
  // examples asked for, ascending.
  std::vector<std::size_t> examples;
};

struct trace_use {
  bool accepted = false;
  // Index into machine_usage::runs.
  std::size_t run = 0;
  // When rejected: check's explanation (its line is this trace's), and the
  // states the trace stopped in, ascending.
  rejected_trace rejection;
  std::vector<std::uint32_t> stops;
};

// One distinct sequence of events of the log and the traces that have it.
struct log_variant {
  std::vector<std::uint32_t> events;  // the log's name numbers
  std::vector<std::size_t> lines;     // 1-based, ascending; never empty
};

struct machine_usage {
  std::vector<use_count> states;       // per shape state
  std::vector<use_count> transitions;  // per shape transition
  // Distinct sets of transitions (ascending indices of shape transitions):
  // of an accepted trace its accepting runs, of a rejected one its runs up
  // to the rejection. Traces with the same events share one.
  std::vector<std::vector<std::uint32_t>> runs;
  std::vector<trace_use> traces;  // per line of the log
  std::size_t accepted = 0;
  // Every variant of the log, most traces first, ties by first line.
  std::vector<log_variant> variants;
};

// Counts how the traces of `log` use `shape` (compiled as `machine`),
// keeping up to `examples` line numbers per state and transition, and
// lists the log's variants. Traces with the same events are replayed once.
machine_usage count_usage(const machine_shape& shape, const replay_machine& machine,
                          const event_log& log, std::size_t examples);

}  // namespace logfsm

#endif  // LOGFSM_VIEW_USAGE_H_
