#include "learning/statistics.h"

#include <cstdint>
#include <vector>

namespace logfsm {

void collect_pairs(fsm_builder& builder, const trace& t) {
  for (std::size_t i = 0; i + 1 < t.size(); ++i) {
    if (same_event(t[i], t[i + 1])) continue;
    // Most pairs are met before: look first, so only a new one makes a node.
    const event_pair pair(t[i], t[i + 1]);
    const auto at = builder.successor_pairs.lower_bound(pair);
    if (at == builder.successor_pairs.end() || event_pair_less()(pair, *at)) {
      builder.successor_pairs.insert(at, pair);
    }
  }
}

void collect_windows(fsm_builder& builder, const trace& t) {
  const auto k = static_cast<std::size_t>(builder.k);
  const std::size_t n = t.size();
  if (n < k) return;
  // The window at a position collapses repetitions: it holds the event that
  // ends the position's run of equal events and those ending the next runs,
  // up to k. Every position of a run thus gives the same window, so one
  // window per run starting at a position up to n - k, in order, inserts
  // exactly what every position would, in linear time.
  std::vector<std::size_t> run_ends;  // the last position of every run
  for (std::size_t p = 0; p < n; ++p) {
    if (p + 1 == n || !same_event(t[p + 1], t[p])) run_ends.push_back(p);
  }
  window w;  // reused: a window is copied only when it is new
  for (std::size_t r = 0; r < run_ends.size(); ++r) {
    const std::size_t run_start = r == 0 ? 0 : run_ends[r - 1] + 1;
    if (run_start + k > n) break;
    w.clear();
    for (std::size_t j = r; j < run_ends.size() && w.size() < k; ++j) w.push_back(t[run_ends[j]]);
    builder.observed_windows.insert(w);
  }
}

}  // namespace logfsm
