// Events: the labels of the learned machine.
//
// An event_type holds one event name exactly as read from the log (any bytes,
// possibly empty). Events are always held through shared pointers and never
// change after they are made. Object identity never matters: every comparison
// goes by name, and names compare as byte strings with unsigned bytes.
#ifndef LOGFSM_MODEL_EVENT_H_
#define LOGFSM_MODEL_EVENT_H_

#include <memory>
#include <string>
#include <string_view>

namespace logfsm {

struct event_type {
  std::string name;
};

using event_ptr = std::shared_ptr<const event_type>;

// Makes a new event object holding `name`.
event_ptr make_event(std::string name);

// Byte-wise name order: at the first differing byte the smaller unsigned byte
// comes first; a proper prefix comes before the longer name.
inline bool name_less(std::string_view a, std::string_view b) {
  return a.compare(b) < 0;  // char_traits<char> compares bytes as unsigned
}

// True when the two events carry the same name. Requires: both non-null.
inline bool same_event(const event_ptr& a, const event_ptr& b) {
  return a->name == b->name;
}

}  // namespace logfsm

#endif  // LOGFSM_MODEL_EVENT_H_
