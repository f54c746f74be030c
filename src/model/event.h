// Events: the labels of the learned machine.
//
// An event_type holds one event name exactly as read from the log (any bytes,
// possibly empty). Events are always held through shared pointers and never
// change after they are made. Object identity never matters: every comparison
// goes by name, and names compare as byte strings with unsigned bytes. A log's
// events come from one table, one object per distinct name.
#ifndef LOGFSM_MODEL_EVENT_H_
#define LOGFSM_MODEL_EVENT_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace logfsm {

struct event_type {
  std::string name;
  // Events of one table (see make_event_table) carry the table's number and
  // the rank of their name among its names, so that two of them compare
  // without reading their bytes. 0 for an event made on its own.
  std::uint64_t table = 0;
  std::uint32_t rank = 0;
};

using event_ptr = std::shared_ptr<const event_type>;

// Makes a new event object holding `name`.
event_ptr make_event(std::string name);

// One new event object per name of `names` (distinct names), at the same
// positions, ranked in name order within a table of their own.
std::vector<event_ptr> make_event_table(const std::vector<std::string>& names);

// Byte-wise name order: at the first differing byte the smaller unsigned byte
// comes first; a proper prefix comes before the longer name.
inline bool name_less(std::string_view a, std::string_view b) {
  return a.compare(b) < 0;  // char_traits<char> compares bytes as unsigned
}

// Negative, zero or positive as a's name comes before, equals or comes
// after b's name in name order.
inline int compare_events(const event_type& a, const event_type& b) {
  if (&a == &b) return 0;
  if (a.table != 0 && a.table == b.table) {
    return a.rank < b.rank ? -1 : (a.rank > b.rank ? 1 : 0);
  }
  return a.name.compare(b.name);
}

// True when the two events carry the same name. Requires: both non-null.
inline bool same_event(const event_ptr& a, const event_ptr& b) {
  return compare_events(*a, *b) == 0;
}

}  // namespace logfsm

#endif  // LOGFSM_MODEL_EVENT_H_
