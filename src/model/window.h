// Traces, windows and event pairs: sequences of shared events.
//
// Pairs are compared by names only, so two pairs with the same names are one
// element of a set whatever objects they hold; a set keeps the objects of the
// element inserted first.
#ifndef LOGFSM_MODEL_WINDOW_H_
#define LOGFSM_MODEL_WINDOW_H_

#include <utility>
#include <vector>

#include "model/event.h"

namespace logfsm {

// One log line: an event object per occurrence, in the order of the line.
using trace = std::vector<event_ptr>;
// Up to k consecutive events of a trace.
using window = std::vector<event_ptr>;
// An event and the next event of another name.
using event_pair = std::pair<event_ptr, event_ptr>;

// A window seen through its events' addresses, for lookups without copying
// event pointers. The events must outlive the lookup.
using window_view = std::vector<const event_type*>;

// By the first event's name, then by the second's.
struct event_pair_less {
  bool operator()(const event_pair& a, const event_pair& b) const {
    const int first = compare_events(*a.first, *b.first);
    if (first != 0) return first < 0;
    return compare_events(*a.second, *b.second) < 0;
  }
};

}  // namespace logfsm

#endif  // LOGFSM_MODEL_WINDOW_H_
