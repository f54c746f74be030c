// The learning pipeline: every pass in its fixed order, and what it reports
// as it goes.
#ifndef LOGFSM_LEARNING_PIPELINE_H_
#define LOGFSM_LEARNING_PIPELINE_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>

#include "base/status.h"
#include "integration/pruning.h"
#include "model/event_log.h"
#include "model/fsm_builder.h"
#include "model/machine.h"

namespace logfsm {

// What a learning run reports as it goes; any of them may be empty.
struct progress_sink {
  // Before the learning context is made from the log.
  std::function<void()> building;
  // After every trace's integration, empty traces included.
  std::function<void(std::size_t done, std::size_t total)> trace_done;
  // Before the refinement.
  std::function<void()> refining;
};

// The dialogue's progress: "Processed trace i of n" after every trace
// (flushed at most every 50 ms, and after the last trace) and "Refining..."
// before the refinement, flushed.
progress_sink progress_lines(std::ostream& out);

// Learns the machine: the statistics passes trace by trace (pairs, then
// windows), the first machine, the integration of every trace (with a pruner
// of this run's own, which lists at most `listed_paths_bound` paths where
// pruner::kListedPathsBound applies: a tuning knob that leaves the result as
// it is), then both refinement passes.
void learn(fsm_builder& builder, const progress_sink& progress,
           std::size_t listed_paths_bound = pruner::kListedPathsBound);

// The one way a run learns from a log (the dialogue, the command line,
// evaluation and the Python module): refuses a log without a line or an
// event with empty_log "Log is empty or the format is incorrect." (leaving
// `learned` as it was), else reports `building`, makes the learning context
// of `log` with k and learns; `learned` becomes the machine. Requires:
// k >= 2.
status learn_log(const event_log& log, std::int32_t k, const progress_sink& progress,
                 machine& learned);
// The same, freeing the log's memory once the context holds its traces.
status learn_log(event_log&& log, std::int32_t k, const progress_sink& progress,
                 machine& learned);

}  // namespace logfsm

#endif  // LOGFSM_LEARNING_PIPELINE_H_
