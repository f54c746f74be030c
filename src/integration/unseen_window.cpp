#include "integration/unseen_window.h"

#include <cstddef>

#include "integration/paths.h"

namespace logfsm {
namespace {

bool skip_initial(const fsm_state& s, std::size_t) { return is_initial_state(s); }

// The paths ending with a step from `from` to a state named `to`: `to` after
// a backward path of k - 1 states from `from`, read in reverse. True when
// all of them are observed.
bool endings_observed(const fsm_builder& builder, const fsm_state& from, const event_type& to) {
  const auto last = static_cast<std::size_t>(builder.k - 1);
  window_view events(last + 1);
  return for_each_path(builder.transitions, builder.k - 1, from, direction::backward,
                       skip_initial, [&](const state_refs& states) {
                         for (std::size_t j = 0; j < last; ++j) {
                           events[last - 1 - j] = states[j]->event.get();
                         }
                         events[last] = &to;
                         return builder.observed_windows.contains(events);
                       });
}

// The paths starting with t: t.from before a forward path from t.to. True
// when all of them are observed.
bool beginnings_observed(const fsm_builder& builder, const fsm_transition& t) {
  const auto last = static_cast<std::size_t>(builder.k - 1);
  window_view events(last + 1);
  return for_each_path(builder.transitions, builder.k - 1, t.to, direction::forward,
                       skip_initial, [&](const state_refs& states) {
                         events[0] = t.from.event.get();
                         for (std::size_t j = 0; j < last; ++j) {
                           events[j + 1] = states[j]->event.get();
                         }
                         return builder.observed_windows.contains(events);
                       });
}

}  // namespace

bool creates_unseen_window(const fsm_builder& builder, const fsm_transition& t) {
  // A path never steps along a self-loop, so a loop is the first or last step
  // of no path; a path through either end of t passes the initial state.
  if (builder.k == 2 || t.is_self_loop() || is_initial_state(t.from) ||
      is_initial_state(t.to)) {
    return false;
  }
  return !endings_observed(builder, t.from, *t.to.event) || !beginnings_observed(builder, t);
}

bool ends_unseen_window(const fsm_builder& builder, const fsm_state& from,
                        const event_type& to) {
  if (builder.k == 2 || is_initial_state(from)) return false;
  return !endings_observed(builder, from, to);
}

}  // namespace logfsm
