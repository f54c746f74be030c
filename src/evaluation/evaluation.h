// Choosing k from held-out traces: k-fold evaluation of the learning.
//
// Folds are fixed by position, with no random numbers: fold f holds the
// lines i (0-based, empty lines included) with i mod F == f. The model of
// fold f is learned from the other lines in their order, exactly as learning
// a log of just those lines would learn it, and read back from its JSON text
// as `logfsm check` reads a model file; the lines of fold f are then replayed
// on it as `check` replays them. Every (k, fold) run is independent of the
// others, so they run on any number of threads with the same report. The
// log is read once; each run picks its lines from it, so memory grows with
// the threads, not with the folds.
#ifndef LOGFSM_EVALUATION_EVALUATION_H_
#define LOGFSM_EVALUATION_EVALUATION_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "model/event_log.h"

namespace logfsm {

inline constexpr std::size_t kDefaultFolds = 5;
// The most values of k one evaluation takes (a range is spelled out).
inline constexpr std::int64_t kMaxKs = 1000;

struct eval_options {
  std::vector<std::int32_t> ks = {2, 3, 4, 5};  // each 2 or more
  std::size_t folds = kDefaultFolds;            // 2 or more
  unsigned jobs = 1;                            // threads, 1 or more
  // Traces that should be rejected, replayed on the model learned from the
  // whole log at each k; none when null.
  const event_log* negatives = nullptr;
  // Called after each finished run (a fold's model, or the whole log's for
  // the negatives) with the runs done and the total, from any thread but
  // never from two at once.
  std::function<void(std::size_t done, std::size_t total)> progress;
};

// The figures of one k. Counts are summed over the folds.
struct eval_row {
  std::int32_t k = 0;
  std::uint64_t accepted = 0;      // held-out lines accepted
  std::uint64_t held_out = 0;      // held-out lines: the log's lines
  std::uint64_t fit_accepted = 0;  // training lines accepted by their own model
  std::uint64_t fit_total = 0;     // training lines: (F - 1) times the log's lines
  double states = 0;               // mean over the fold models
  double transitions = 0;          // mean over the fold models
  double seconds = 0;              // learning, mean over the fold models
  double replay_seconds = 0;       // replaying held-out and training lines, mean
  bool has_negatives = false;
  std::uint64_t negatives_rejected = 0;
  std::uint64_t negatives = 0;
  double bcr = 0;  // (recall + specificity) / 2 when has_negatives
};

struct eval_report {
  std::size_t folds = 0;
  std::vector<eval_row> rows;  // in the order of eval_options::ks
  // The row with the best recall per transition (the first on a tie).
  std::size_t suggested = 0;
};

// Parses "2,3,4", "2-6" or a mix ("2-4,6") into ascending distinct ks, each
// from 2 to 2147483647, at most kMaxKs of them. Fails with bad_argument
// naming the piece that is not one.
status parse_k_list(std::string_view text, std::vector<std::int32_t>& ks);

// Evaluates every k of `options` on `log`. Fails with bad_argument when the
// log has fewer lines than folds, or empty_log when some fold's training
// lines hold no event (no model can be learned from them).
status evaluate(const event_log& log, const eval_options& options, eval_report& report);

// One line per k, then the suggestion, e.g.
//   k  recall                  fit              states  transitions  seconds
//   2  1418 of 1434 (98.8%)    100.0%           ...
// Shares are rounded down, so 100.0% means every trace.
void write_eval_text(std::ostream& out, const eval_report& report);

// {"folds": F, "rows": [{"k":2,"accepted":...,...}, ...], "suggested_k": K}
void write_eval_json(std::ostream& out, const eval_report& report);

// A small self-contained SVG chart: recall (and specificity) in percent
// against k, transitions on a second axis.
std::string eval_plot_svg(const eval_report& report);

}  // namespace logfsm

#endif  // LOGFSM_EVALUATION_EVALUATION_H_
