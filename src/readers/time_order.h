// The readers' one policy for putting a case (a CSV case, an XES trace) in
// time order: it is sorted stably by instant when every event of it has a
// time that parses; otherwise it keeps file order, and a note counts it.
// Sorting uses the full parsed instant (down to the nanosecond); the log
// keeps each time in microseconds.
#ifndef LOGFSM_READERS_TIME_ORDER_H_
#define LOGFSM_READERS_TIME_ORDER_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/event_log.h"
#include "readers/log_source.h"
#include "readers/timestamp.h"

namespace logfsm {

// An event kept until its case is complete: its instant, when it has one,
// and the number of its name in the reader's table (16 bytes).
struct timed_name {
  std::int64_t seconds = 0;
  std::int32_t nanos = -1;  // -1: no time
  std::uint32_t name = 0;

  timed_name() = default;
  timed_name(const std::optional<instant>& time, std::uint32_t name_number)
      : seconds(time ? time->seconds : 0),
        nanos(time ? time->nanos : -1),
        name(name_number) {}
  bool timed() const { return nanos >= 0; }
  // The time as event_log keeps it (event_log::no_time when it has none).
  std::int64_t log_time() const {
    return timed() ? microseconds_of({seconds, nanos}) : event_log::no_time;
  }
};

// Puts `order` (indices into `events`: one case's events in file order) in
// time order, stably. Requires: each of them has a time.
void sort_by_time(std::span<std::uint32_t> order, std::span<const timed_name> events);

// The cases kept in file order, with the place of the first.
class file_order_tally {
 public:
  // Counts one more case; `place()` (called for the first case only) says
  // where its first timestamp that did not parse is.
  template <typename Place>
  void add(Place place) {
    if (count_++ == 0) first_ = place();
  }
  // When some case was counted, appends "N cases kept in file order because
  // a timestamp did not parse (first: PLACE)" ("1 case ... (PLACE)"), a case
  // called `unit` ("case", "trace").
  void note(std::string_view unit, read_notes& notes) const;

 private:
  std::size_t count_ = 0;
  std::string first_;
};

}  // namespace logfsm

#endif  // LOGFSM_READERS_TIME_ORDER_H_
