// The learning pipeline: every pass in its fixed order, the progress lines,
// and the output files.
#ifndef LOGFSM_LEARNING_PIPELINE_H_
#define LOGFSM_LEARNING_PIPELINE_H_

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "model/fsm_builder.h"

namespace logfsm {

struct pipeline_result {
  std::string dot_file;
  std::string json_file;
  // The output files that could not be written, in writing order.
  std::vector<std::string> failed_files;
};

// What the learning reports as it goes; either may be empty.
struct progress_sink {
  std::function<void(std::size_t done, std::size_t total)> trace_done;
  std::function<void()> refining;
};

// The dialogue's progress: "Processed trace i of n" after every trace and
// "Refining..." before the refinement, each line flushed.
progress_sink progress_lines(std::ostream& out);

// Learns the machine: the statistics passes trace by trace (pairs, then
// windows), the first machine, the integration of every trace (printing
// "Processed trace i of n" after each, empty traces included), then
// "Refining..." and both refinement passes.
void learn(fsm_builder& builder, const progress_sink& progress);
void learn(fsm_builder& builder, std::ostream& progress);

// Learns, then writes <stem>_out_<k>.dot and <stem>_out_<k>.json, each
// completely or not at all; a file that cannot be written is reported in the
// result and does not stop the other.
pipeline_result run_pipeline(fsm_builder& builder, const std::string& stem,
                             const progress_sink& progress);
pipeline_result run_pipeline(fsm_builder& builder, const std::string& stem,
                             std::ostream& progress);

}  // namespace logfsm

#endif  // LOGFSM_LEARNING_PIPELINE_H_
