// Paths of the machine: sequences of k states along stored transitions.
#ifndef LOGFSM_INTEGRATION_PATHS_H_
#define LOGFSM_INTEGRATION_PATHS_H_

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/fsm_state.h"
#include "model/machine.h"
#include "model/window.h"
#include "model/window_set.h"

namespace logfsm {

// A path: its first state is the start state; every two neighbours are the
// ends of a stored transition (in reverse for a backward path). The states
// are copies of stored states and share their events and flags.
using path = std::vector<fsm_state>;

enum class direction { forward, backward };

// The states of a path as pointers: the first is the start state given, the
// others point into stored transitions.
using state_refs = std::vector<const fsm_state*>;
// The stored transitions a path steps along, in order.
using step_refs = std::vector<const fsm_transition*>;

namespace paths_detail {

// A state being walked from: its successors not yet taken, taken from the
// last one back.
struct frame {
  machine::link_iterator first, next;
  std::uint32_t number;  // the state's
};

}  // namespace paths_detail

// The stacks of a path walk. Callers keep them from one walk to the next, so
// that the walks (thousands per trace) allocate nothing once the stacks have
// grown; between walks they are empty. One walk at a time: a walk started
// from inside another walk's visit needs stacks of its own.
struct walk_stacks {
  state_refs states;
  step_refs steps;
  std::vector<paths_detail::frame> frames;

  bool idle() const { return states.empty() && steps.empty() && frames.empty(); }
  void clear() {
    states.clear();
    steps.clear();
    frames.clear();
  }
};

// What the path walks of window matching and path creation reuse: the
// stacks, and for the visits, per state of the path walked, where its names
// so far stand among the observed windows and whether they spell the start
// of a window looked for. Holds no result between walks.
struct walk_scratch {
  walk_stacks stacks;
  std::vector<window_set::position> names;
  std::vector<char> spells;
};

namespace paths_detail {

// Depth-first along the stored transitions at each state (outgoing ones
// forward, incoming ones backward) taken from the last back, so the order is
// that of a stack to which they are pushed in transition order. States are
// opened by their numbers, which the adjacency hands out, with no lookup.
// Leaves `stacks` empty however it ends. Requires: `stacks` is idle (no
// walk under way uses it).
template <typename Skip, typename Visit>
bool walk(const machine& m, walk_stacks& stacks, std::size_t k, const fsm_state& start,
          direction dir, Skip skip, Visit& visit) {
  assert(stacks.idle());
  const bool forward = dir == direction::forward;
  state_refs& states = stacks.states;
  step_refs& steps = stacks.steps;
  std::vector<frame>& frames = stacks.frames;
  const auto open = [&](std::uint32_t number) {
    const auto around = forward ? m.outgoing_of(number) : m.incoming_of(number);
    frames.push_back({around.begin(), around.end(), number});
  };
  const std::uint32_t first = m.state_number(start);
  if (first == machine::kNoState) return true;  // no transition at the start
  states.push_back(&start);
  open(first);
  while (!frames.empty()) {
    frame& top = frames.back();
    if (top.next == top.first) {
      frames.pop_back();
      states.pop_back();
      if (!steps.empty()) steps.pop_back();
      continue;
    }
    --top.next;
    const std::uint32_t other = top.next.other_number();
    // A self-loop leads back to the state walked from.
    if (other == top.number) continue;
    const fsm_transition& t = *top.next;
    const fsm_state& s = forward ? t.to : t.from;
    if (skip(s, states.size())) continue;
    states.push_back(&s);
    steps.push_back(&t);
    if (states.size() < k) {
      open(other);
      continue;
    }
    if (!visit(static_cast<const state_refs&>(states), static_cast<const step_refs&>(steps))) {
      stacks.clear();
      return false;
    }
    states.pop_back();
    steps.pop_back();
  }
  return true;
}

}  // namespace paths_detail

// Calls `visit(states)` (a `const state_refs&` of k states) for every path of
// exactly `k` states from `start` that enters no state for which
// `skip(s, i)` is true, s being about to become the state at index i (from
// 1 to k - 1; skip is asked once per entry, in walk order), in the order of
// enumerate_paths below, until `visit` returns false. Returns false when
// stopped so. The walk keeps its stacks in `stacks` and leaves them empty.
// The machine must not change during the walk. Cost: the paths visited,
// with no copies and no scans.
// Requires: k >= 2; `stacks` is used by no walk under way (a walk started
// from a visit or a skip passes stacks of its own).
template <typename Skip, typename Visit>
bool for_each_path(const machine& transitions, walk_stacks& stacks, std::int32_t k,
                   const fsm_state& start, direction dir, Skip skip, Visit visit) {
  assert(k >= 2);
  const auto states_only = [&visit](const state_refs& states, const step_refs&) {
    return visit(states);
  };
  return paths_detail::walk(transitions, stacks, static_cast<std::size_t>(k), start, dir,
                            skip, states_only);
}

// The same, calling `visit(states, steps)` with the k - 1 stored transitions
// the path steps along as well.
template <typename Skip, typename Visit>
bool for_each_path_with_steps(const machine& transitions, walk_stacks& stacks,
                              std::int32_t k, const fsm_state& start, direction dir,
                              Skip skip, Visit visit) {
  assert(k >= 2);
  return paths_detail::walk(transitions, stacks, static_cast<std::size_t>(k), start, dir,
                            skip, visit);
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

// The event names of a path's states, as a window of their event objects.
window path_events(const path& p);

}  // namespace logfsm

#endif  // LOGFSM_INTEGRATION_PATHS_H_
