#include "model/fsm_state.h"

#include <utility>

namespace logfsm {

fsm_state::fsm_state()
    : id(-1), event(make_event("")), accepting(std::make_shared<bool>(false)) {}

fsm_state::fsm_state(std::int16_t id, event_ptr event)
    : id(id),
      event(std::move(event)),
      accepting(std::make_shared<bool>(false)) {}

bool operator==(const fsm_state& a, const fsm_state& b) {
  return a.id == b.id && same_event(a.event, b.event);
}

bool is_initial_state(const fsm_state& s) {
  return s.id == -1 && s.name().empty();
}

bool state_less_ids(std::int16_t a, std::int16_t b) {
  const auto wide = [](std::int16_t id) {
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(id));
  };
  return wide(a) < wide(b);
}

bool state_less::operator()(const fsm_state& a, const fsm_state& b) const {
  const int by_name = compare_events(*a.event, *b.event);
  if (by_name != 0) return by_name < 0;
  return state_less_ids(a.id, b.id);
}

}  // namespace logfsm
