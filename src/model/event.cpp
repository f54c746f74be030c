#include "model/event.h"

#include <utility>

namespace logfsm {

event_ptr make_event(std::string name) {
  return std::make_shared<const event_type>(event_type{std::move(name)});
}

}  // namespace logfsm
