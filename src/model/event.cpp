#include "model/event.h"

#include <algorithm>
#include <atomic>
#include <numeric>
#include <utility>

namespace logfsm {

event_ptr make_event(std::string name) {
  return std::make_shared<const event_type>(event_type{std::move(name)});
}

std::vector<event_ptr> make_event_table(const std::vector<std::string>& names) {
  static std::atomic<std::uint64_t> last_table{0};
  const std::uint64_t table = ++last_table;
  std::vector<std::uint32_t> order(names.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(), [&names](std::uint32_t a, std::uint32_t b) {
    return name_less(names[a], names[b]);
  });
  std::vector<event_ptr> events(names.size());
  for (std::uint32_t rank = 0; rank < order.size(); ++rank) {
    const std::uint32_t at = order[rank];
    events[at] = std::make_shared<const event_type>(event_type{names[at], table, rank});
  }
  return events;
}

}  // namespace logfsm
