#include "integration/unseen_window.h"

#include <cstddef>

#include "integration/paths.h"

namespace logfsm {

bool creates_unseen_window(const fsm_builder& builder, const fsm_transition& t) {
  // A path never steps along a self-loop, so a loop is the first or last step
  // of no path; a path through either end of t passes the initial state.
  if (builder.k == 2 || t.is_self_loop() || is_initial_state(t.from) ||
      is_initial_state(t.to)) {
    return false;
  }
  const machine& m = builder.transitions;
  const auto skip_initial = [](const fsm_state& s, std::size_t) { return is_initial_state(s); };
  const auto last = static_cast<std::size_t>(builder.k - 1);
  window_view events(last + 1);
  const auto observed = [&builder, &events] {
    return builder.observed_windows.contains(events);
  };
  // The paths ending with t: t.to after a backward path of k - 1 states from
  // t.from, read in reverse.
  const bool ending_observed = for_each_path(
      m, builder.k - 1, t.from, direction::backward, skip_initial,
      [&](const state_refs& states) {
        for (std::size_t j = 0; j < last; ++j) events[last - 1 - j] = states[j]->event.get();
        events[last] = t.to.event.get();
        return observed();
      });
  if (!ending_observed) return true;
  // The paths starting with t: t.from before a forward path from t.to.
  return !for_each_path(m, builder.k - 1, t.to, direction::forward, skip_initial,
                        [&](const state_refs& states) {
                          events[0] = t.from.event.get();
                          for (std::size_t j = 0; j < last; ++j) {
                            events[j + 1] = states[j]->event.get();
                          }
                          return observed();
                        });
}

}  // namespace logfsm
