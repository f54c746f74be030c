// States of the learned machine.
//
// A state is labelled by an event and numbered per event with a 16-bit signed
// id. Its `accepting` flag is a shared object: copying a state shares the
// event and the flag, so setting the flag through any copy is seen by every
// copy of the same line (including the copies stored inside transitions).
// States made separately, even with equal id and name, have separate flags.
// Which copy carries which flag is part of the learning's behaviour.
#ifndef LOGFSM_MODEL_FSM_STATE_H_
#define LOGFSM_MODEL_FSM_STATE_H_

#include <cstdint>
#include <memory>
#include <string_view>

#include "model/event.h"

namespace logfsm {

struct fsm_state {
  // The default state: id -1, a new event with the empty name, a new flag
  // (false). It stands for the initial state of every trace.
  fsm_state();
  // A state of `event` with `id` and a new flag (false).
  fsm_state(std::int16_t id, event_ptr event);

  std::int16_t id;
  event_ptr event;
  std::shared_ptr<bool> accepting;

  const std::string& name() const { return event->name; }
};

// Equal id and equal event name; flags and object identity play no part.
inline bool operator==(const fsm_state& a, const fsm_state& b) {
  return a.id == b.id && same_event(a.event, b.event);
}

// The name as a state's text in the output files spells it: s0 for the
// empty name.
inline std::string_view spelled_name(std::string_view name) {
  return name.empty() ? std::string_view("s0") : name;
}

// True for the initial state: id -1 and the empty name.
bool is_initial_state(const fsm_state& s);

// The order of every set of states: event name (unsigned bytes), then id
// widened with its sign to 64 bits and compared unsigned, so non-negative ids
// come first in ascending order and negative ids after them (-2 before -1).
inline bool state_less_ids(std::int16_t a, std::int16_t b) {
  const auto wide = [](std::int16_t id) {
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(id));
  };
  return wide(a) < wide(b);
}
struct state_less {
  bool operator()(const fsm_state& a, const fsm_state& b) const {
    const int by_name = compare_events(*a.event, *b.event);
    if (by_name != 0) return by_name < 0;
    return state_less_ids(a.id, b.id);
  }
};

}  // namespace logfsm

#endif  // LOGFSM_MODEL_FSM_STATE_H_
