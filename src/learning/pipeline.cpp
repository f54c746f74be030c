#include "learning/pipeline.h"

#include <sstream>

#include "integration/integrate_trace.h"
#include "learning/seed_transitions.h"
#include "learning/statistics.h"
#include "output/dot_writer.h"
#include "output/file_output.h"
#include "output/json_writer.h"
#include "refinement/remove_unused.h"
#include "refinement/replay_repeats.h"

namespace logfsm {

progress_sink progress_lines(std::ostream& out) {
  return {[&out](std::size_t done, std::size_t total) {
            out << "Processed trace " << done << " of " << total << std::endl;
          },
          [&out] { out << "Refining..." << std::endl; }};
}

void learn(fsm_builder& builder, const progress_sink& progress) {
  for (const trace& t : builder.traces) {
    collect_pairs(builder, t);
    collect_windows(builder, t);
  }
  seed_transitions(builder);
  const std::size_t count = builder.traces.size();
  for (std::size_t i = 0; i < count; ++i) {
    integrate_trace(builder, builder.traces[i]);
    if (progress.trace_done) progress.trace_done(i + 1, count);
  }
  if (progress.refining) progress.refining();
  replay_repeats(builder);
  remove_unused(builder);
}

void learn(fsm_builder& builder, std::ostream& progress) {
  learn(builder, progress_lines(progress));
}

pipeline_result run_pipeline(fsm_builder& builder, const std::string& stem,
                             const progress_sink& progress) {
  learn(builder, progress);
  pipeline_result result{output_file_name(stem, builder.k, ".dot"),
                         output_file_name(stem, builder.k, ".json"),
                         {}};
  std::ostringstream dot;
  write_dot(dot, builder.transitions) << '\n';
  if (!write_file_atomically(result.dot_file, dot.view())) {
    result.failed_files.push_back(result.dot_file);
  }
  std::ostringstream json;
  write_json(json, builder.transitions);
  if (!write_file_atomically(result.json_file, json.view())) {
    result.failed_files.push_back(result.json_file);
  }
  return result;
}

pipeline_result run_pipeline(fsm_builder& builder, const std::string& stem,
                             std::ostream& progress) {
  return run_pipeline(builder, stem, progress_lines(progress));
}

}  // namespace logfsm
