#include "model/fsm_state.h"

#include <utility>

namespace logfsm {

fsm_state::fsm_state()
    : id(-1), event(make_event("")), accepting(std::make_shared<bool>(false)) {}

fsm_state::fsm_state(std::int16_t id, event_ptr event)
    : id(id),
      event(std::move(event)),
      accepting(std::make_shared<bool>(false)) {}

bool is_initial_state(const fsm_state& s) {
  return s.id == -1 && s.name().empty();
}

}  // namespace logfsm
