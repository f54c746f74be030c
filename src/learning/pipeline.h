// The learning pipeline: every pass in its fixed order, and what it reports
// as it goes.
#ifndef LOGFSM_LEARNING_PIPELINE_H_
#define LOGFSM_LEARNING_PIPELINE_H_

#include <cstddef>
#include <functional>
#include <ostream>

#include "integration/pruning.h"
#include "model/fsm_builder.h"

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

}  // namespace logfsm

#endif  // LOGFSM_LEARNING_PIPELINE_H_
