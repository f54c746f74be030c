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
  bool operator()(const fsm_transition& a, const fsm_transition& b) const;
  bool operator()(const fsm_transition& a, const transition_key& b) const;
  bool operator()(const transition_key& a, const fsm_transition& b) const;
  bool operator()(const fsm_transition& a, const outgoing_key& b) const;
  bool operator()(const outgoing_key& a, const fsm_transition& b) const;
};

}  // namespace logfsm

#endif  // LOGFSM_MODEL_FSM_TRANSITION_H_
