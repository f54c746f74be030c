#include "readers/time_order.h"

#include <algorithm>
#include <cassert>

namespace logfsm {

void sort_by_time(std::span<std::uint32_t> order, std::span<const timed_name> events) {
  const auto earlier = [events](std::uint32_t a, std::uint32_t b) {
    const timed_name& x = events[a];
    const timed_name& y = events[b];
    assert(x.timed() && y.timed());
    return x.seconds != y.seconds ? x.seconds < y.seconds : x.nanos < y.nanos;
  };
  if (!std::is_sorted(order.begin(), order.end(), earlier)) {
    std::stable_sort(order.begin(), order.end(), earlier);
  }
}

void file_order_tally::note(std::string_view unit, read_notes& notes) const {
  if (count_ == 0) return;
  const std::string count = std::to_string(count_) + " " + std::string(unit);
  notes.push_back(count + (count_ == 1 ? "" : "s") + " kept in file order because a " +
                  "timestamp did not parse (" + (count_ == 1 ? "" : "first: ") + first_ +
                  ")");
}

}  // namespace logfsm
