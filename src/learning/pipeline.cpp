#include "learning/pipeline.h"

#include "integration/integrate_trace.h"
#include "learning/seed_transitions.h"
#include "learning/statistics.h"
#include "refinement/remove_unused.h"
#include "refinement/replay_repeats.h"

namespace logfsm {

progress_sink progress_lines(std::ostream& out) {
  progress_sink sink;
  sink.trace_done = [&out](std::size_t done, std::size_t total) {
    out << "Processed trace " << done << " of " << total << std::endl;
  };
  sink.refining = [&out] { out << "Refining..." << std::endl; };
  return sink;
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

}  // namespace logfsm
