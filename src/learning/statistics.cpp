#include "learning/statistics.h"

#include <cstdint>

namespace logfsm {

void collect_pairs(fsm_builder& builder, const trace& t) {
  for (std::size_t i = 0; i + 1 < t.size(); ++i) {
    if (same_event(t[i], t[i + 1])) continue;
    builder.successor_pairs.emplace(t[i], t[i + 1]);
  }
}

namespace {

// Sets `w` to the window starting at position `i`, repetitions collapsed.
void window_at(const trace& t, std::size_t i, std::size_t k, window& w) {
  const std::size_t n = t.size();
  w.clear();
  std::size_t p = i;
  while (w.size() < k) {
    while (p + 1 < n && same_event(t[p + 1], t[p])) ++p;
    if (p >= n) break;
    w.push_back(t[p]);
    ++p;
  }
}

}  // namespace

void collect_windows(fsm_builder& builder, const trace& t) {
  const auto k = static_cast<std::size_t>(builder.k);
  if (t.size() < k) return;
  window w;  // reused: a window is copied only when it is new
  for (std::size_t i = 0; i + k <= t.size(); ++i) {
    window_at(t, i, k, w);
    builder.observed_windows.insert(w);
  }
}

}  // namespace logfsm
