#include "integration/unseen_window.h"

#include <cstddef>
#include <vector>

#include "integration/paths.h"

namespace logfsm {
namespace {

bool skip_initial(const fsm_state& s, std::size_t) { return is_initial_state(s); }

// The paths ending with a step from `from` to a state named `to`: `to` after
// a backward path of k - 1 states from `from`, read in reverse. True when
// all of them are observed.
bool endings_observed(const fsm_builder& builder, walk_scratch& scratch,
                      const fsm_state& from, const event_type& to) {
  const window_set& observed = builder.observed_windows;
  return for_each_path(builder.transitions, scratch.stacks, builder.k - 1, from,
                       direction::backward, skip_initial, [&](const state_refs& states) {
                         window_set::position at = window_set::kRoot;
                         for (std::size_t j = states.size(); j-- > 0;) {
                           at = observed.next(at, *states[j]->event);
                         }
                         return observed.ends_window(observed.next(at, to));
                       });
}

// The paths starting with t: t.from before a forward path from t.to. True
// when all of them are observed. Where the names stand among the observed
// windows is kept as the walk goes, so each step is looked up once.
bool beginnings_observed(const fsm_builder& builder, walk_scratch& scratch,
                         const fsm_transition& t) {
  const window_set& observed = builder.observed_windows;
  // names[i]: the position after t.from and the path's first i + 1 states.
  std::vector<window_set::position>& names = scratch.names;
  names.assign(static_cast<std::size_t>(builder.k - 1), window_set::kNone);
  names[0] = observed.next(observed.next(window_set::kRoot, *t.from.event), *t.to.event);
  return for_each_path(
      builder.transitions, scratch.stacks, builder.k - 1, t.to, direction::forward,
      [&](const fsm_state& s, std::size_t i) {
        if (is_initial_state(s)) return true;
        names[i] = observed.next(names[i - 1], *s.event);
        return false;
      },
      [&](const state_refs&) { return observed.ends_window(names.back()); });
}

}  // namespace

bool creates_unseen_window(const fsm_builder& builder, walk_scratch& scratch,
                           const fsm_transition& t) {
  // A path never steps along a self-loop, so a loop is the first or last step
  // of no path; a path through either end of t passes the initial state.
  if (builder.k == 2 || t.is_self_loop() || is_initial_state(t.from) ||
      is_initial_state(t.to)) {
    return false;
  }
  return !endings_observed(builder, scratch, t.from, *t.to.event) ||
         !beginnings_observed(builder, scratch, t);
}

bool ends_unseen_window(const fsm_builder& builder, walk_scratch& scratch,
                        const fsm_state& from, const event_type& to) {
  if (builder.k == 2 || is_initial_state(from)) return false;
  return !endings_observed(builder, scratch, from, to);
}

}  // namespace logfsm
