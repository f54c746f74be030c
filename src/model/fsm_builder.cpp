#include "model/fsm_builder.h"

#include <cassert>

namespace logfsm {

fsm_builder::fsm_builder(const event_log& log, std::int32_t k) : k(k) {
  assert(k >= 2);
  const std::vector<event_ptr> events = make_event_table(log.names());
  traces.reserve(log.line_count());
  for (std::size_t i = 0; i < log.line_count(); ++i) {
    trace& t = traces.emplace_back();
    t.reserve(log.line(i).size());
    for (const std::uint32_t n : log.line(i)) t.push_back(events[n]);
  }
}

}  // namespace logfsm
