// Traces, windows and event pairs: sequences of shared events.
//
// Windows and pairs are compared by names only, so two sequences with the
// same names in the same order are one element of a set whatever objects they
// hold; a set keeps the objects of the element inserted first.
#ifndef LOGFSM_MODEL_WINDOW_H_
#define LOGFSM_MODEL_WINDOW_H_

#include <algorithm>
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

// Element by element by name; a proper prefix comes first.
struct window_less {
  bool operator()(const window& a, const window& b) const {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](const event_ptr& x, const event_ptr& y) {
          return name_less(x->name, y->name);
        });
  }
};

// By the first event's name, then by the second's.
struct event_pair_less {
  bool operator()(const event_pair& a, const event_pair& b) const {
    if (a.first->name != b.first->name)
      return name_less(a.first->name, b.first->name);
    return name_less(a.second->name, b.second->name);
  }
};

}  // namespace logfsm

#endif  // LOGFSM_MODEL_WINDOW_H_
