// Paths of the machine: sequences of k states along stored transitions.
#ifndef LOGFSM_INTEGRATION_PATHS_H_
#define LOGFSM_INTEGRATION_PATHS_H_

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

#include "model/fsm_state.h"
#include "model/machine.h"
#include "model/window.h"

namespace logfsm {

// A path: its first state is the start state; every two neighbours are the
// ends of a stored transition (in reverse for a backward path). The states
// are copies of stored states and share their events and flags.
using path = std::vector<fsm_state>;

enum class direction { forward, backward };

// The states of a path as pointers: the first is the start state given, the
// others point into stored transitions.
using state_refs = std::vector<const fsm_state*>;

namespace paths_detail {

inline const fsm_transition& stored(const fsm_transition& t) { return t; }
inline const fsm_transition& stored(const fsm_transition* t) { return *t; }

// Depth-first over `neighbours(x)` (stored transitions) taken in reverse, so
// the order is that of a stack to which they are pushed in order.
template <typename Neighbours, typename Step, typename Skip, typename Visit>
bool walk(std::size_t k, const fsm_state& start, Neighbours neighbours,
          Step step, Skip skip, Visit& visit) {
  using iterator = decltype(std::make_reverse_iterator(neighbours(start).end()));
  struct frame {
    iterator next, last;
  };
  state_refs states{&start};
  std::vector<frame> frames;
  const auto open = [&](const fsm_state& s) {
    const auto around = neighbours(s);
    frames.push_back({std::make_reverse_iterator(around.end()),
                      std::make_reverse_iterator(around.begin())});
  };
  open(start);
  while (!frames.empty()) {
    frame& top = frames.back();
    if (top.next == top.last) {
      frames.pop_back();
      states.pop_back();
      continue;
    }
    const fsm_transition& t = stored(*top.next);
    ++top.next;
    if (t.is_self_loop()) continue;
    const fsm_state& s = step(t);
    if (skip(s, states.size())) continue;
    states.push_back(&s);
    if (states.size() < k) {
      open(s);
      continue;
    }
    if (!visit(static_cast<const state_refs&>(states))) return false;
    states.pop_back();
  }
  return true;
}

}  // namespace paths_detail

// Calls `visit(states)` (a `const state_refs&` of k states) for every path of
// exactly `k` states from `start` that enters no state for which
// `skip(s, i)` is true, s being about to become the state at index i (from
// 1 to k - 1; skip is asked once per entry, in walk order), in the order of enumerate_paths below, until `visit` returns
// false. Returns false when stopped so. The machine must not change during
// the walk. Cost: the paths visited, with no copies and no scans.
template <typename Skip, typename Visit>
bool for_each_path(const machine& transitions, std::int32_t k,
                   const fsm_state& start, direction dir, Skip skip,
                   Visit visit) {
  assert(k >= 2);
  const auto size = static_cast<std::size_t>(k);
  if (dir == direction::forward) {
    return paths_detail::walk(
        size, start, [&](const fsm_state& s) { return transitions.outgoing(s); },
        [](const fsm_transition& t) -> const fsm_state& { return t.to; }, skip,
        visit);
  }
  return paths_detail::walk(
      size, start, [&](const fsm_state& s) { return transitions.incoming(s); },
      [](const fsm_transition& t) -> const fsm_state& { return t.from; }, skip,
      visit);
}

// Every path of exactly `k` states from `start`, stepping along transitions
// forward (to their `to`) or backward (to their `from`), never along a
// self-loop; states may repeat otherwise. Depth-first with an explicit stack:
// the successors of a state are pushed in incident_transitions order and
// taken back in reverse, so the successor pushed last yields its paths first.
// The number of paths grows with the out-degree to the power k - 1.
std::vector<path> enumerate_paths(const machine& transitions, std::int32_t k,
                                  const fsm_state& start, direction dir);

// Copies of the states `states` points to: a path that outlives changes to
// the machine.
path copy_path(const state_refs& states);

// True when `events` and the path have the same length and equal names at
// every position.
bool same_events(const window& events, const path& p);
bool same_events(const window& events, const state_refs& states);

// The event names of a path's states, as a window of their event objects.
window path_events(const path& p);

}  // namespace logfsm

#endif  // LOGFSM_INTEGRATION_PATHS_H_
