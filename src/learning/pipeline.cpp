#include "learning/pipeline.h"

#include <chrono>

#include "integration/integrate_trace.h"
#include "learning/seed_transitions.h"
#include "learning/statistics.h"
#include "refinement/remove_unused.h"
#include "refinement/replay_repeats.h"

namespace logfsm {

progress_sink progress_lines(std::ostream& out) {
  progress_sink sink;
  // A line per trace, flushed at most every 50 ms and after the last one:
  // the reader sees the count go up, and a log of many short traces does not
  // cost a write per trace.
  using clock = std::chrono::steady_clock;
  sink.trace_done = [&out, flushed = clock::time_point()](std::size_t done,
                                                         std::size_t total) mutable {
    out << "Processed trace " << done << " of " << total << '\n';
    const clock::time_point now = clock::now();
    if (done == total || now - flushed >= std::chrono::milliseconds(50)) {
      out.flush();
      flushed = now;
    }
  };
  sink.refining = [&out] { out << "Refining..." << std::endl; };
  return sink;
}

void learn(fsm_builder& builder, const progress_sink& progress,
           std::size_t listed_paths_bound) {
  for (const trace& t : builder.traces) {
    collect_pairs(builder, t);
    collect_windows(builder, t);
  }
  seed_transitions(builder);
  pruner pruning(listed_paths_bound);
  const std::size_t count = builder.traces.size();
  for (std::size_t i = 0; i < count; ++i) {
    integrate_trace(builder, pruning, builder.traces[i]);
    if (progress.trace_done) progress.trace_done(i + 1, count);
  }
  if (progress.refining) progress.refining();
  replay_repeats(builder);
  remove_unused(builder);
}

namespace {

// `release`, when given, is `log`, which may be emptied once the context
// holds the traces.
status learn_from(const event_log& log, event_log* release, std::int32_t k,
                  const progress_sink& progress, machine& learned) {
  if (log.line_count() == 0 || log.event_count() == 0) {
    return status(status_code::empty_log, "Log is empty or the format is incorrect.");
  }
  if (progress.building) progress.building();
  fsm_builder builder(log, k);
  if (release != nullptr) *release = event_log();
  learn(builder, progress);
  learned = std::move(builder.transitions);
  return status();
}

}  // namespace

status learn_log(const event_log& log, std::int32_t k, const progress_sink& progress,
                 machine& learned) {
  return learn_from(log, nullptr, k, progress, learned);
}

status learn_log(event_log&& log, std::int32_t k, const progress_sink& progress,
                 machine& learned) {
  return learn_from(log, &log, k, progress, learned);
}

}  // namespace logfsm
