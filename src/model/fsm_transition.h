// Transitions of the learned machine.
//
// A transition leads from `from` to `to` and is labelled by the name of
// `to`'s event. Its `used` flag is shared by every copy of the transition, so
// a pass marks a stored transition by setting the flag through any copy taken
// from the machine. Copies also share both states' events and flags.
#ifndef LOGFSM_MODEL_FSM_TRANSITION_H_
#define LOGFSM_MODEL_FSM_TRANSITION_H_

#include <memory>

#include "model/fsm_state.h"

namespace logfsm {

struct fsm_transition {
  // Copies both states (sharing their parts) and makes a new flag, false.
  fsm_transition(fsm_state from, fsm_state to);

  fsm_state from;
  fsm_state to;
  std::shared_ptr<bool> used;

  bool is_self_loop() const { return from == to; }
};

// The ends of a transition, for lookups that make no transition.
struct transition_key {
  const fsm_state& from;
  const fsm_state& to;
};

// All transitions leaving `from`: sorts before every transition whose `from`
// equals it and after every transition whose `from` is less.
struct outgoing_key {
  const fsm_state& from;
};

// The order of the transition set: by `from` (state order), then by `to`.
// `used` plays no part: transitions with equal ends are one element.
struct transition_less {
  using is_transparent = void;
  bool operator()(const fsm_transition& a, const fsm_transition& b) const {
    return ends_less(a.from, a.to, b.from, b.to);
  }
  bool operator()(const fsm_transition& a, const transition_key& b) const {
    return ends_less(a.from, a.to, b.from, b.to);
  }
  bool operator()(const transition_key& a, const fsm_transition& b) const {
    return ends_less(a.from, a.to, b.from, b.to);
  }
  bool operator()(const fsm_transition& a, const outgoing_key& b) const {
    return state_less()(a.from, b.from);
  }
  bool operator()(const outgoing_key& a, const fsm_transition& b) const {
    return !state_less()(b.from, a.from);
  }

 private:
  static bool ends_less(const fsm_state& a_from, const fsm_state& a_to,
                        const fsm_state& b_from, const fsm_state& b_to) {
    const int by_from = compare_events(*a_from.event, *b_from.event);
    if (by_from != 0) return by_from < 0;
    if (a_from.id != b_from.id) return state_less_ids(a_from.id, b_from.id);
    return state_less()(a_to, b_to);
  }
};

}  // namespace logfsm

#endif  // LOGFSM_MODEL_FSM_TRANSITION_H_
