#include "model/event_log.h"

namespace logfsm {

void event_log::add_event(std::string_view name) {
  auto it = numbers_.find(name);
  if (it == numbers_.end()) {
    it = numbers_.emplace(std::string(name), static_cast<std::uint32_t>(names_.size())).first;
    names_.emplace_back(name);
  }
  events_.push_back(it->second);
}

void event_log::end_line() { line_ends_.push_back(events_.size()); }

std::span<const std::uint32_t> event_log::line(std::size_t i) const {
  const std::size_t first = i == 0 ? 0 : line_ends_[i - 1];
  return std::span<const std::uint32_t>(events_).subspan(first, line_ends_[i] - first);
}

raw_traces event_log::lines() const {
  raw_traces result(line_count());
  for (std::size_t i = 0; i < line_count(); ++i) {
    for (const std::uint32_t n : line(i)) result[i].push_back(names_[n]);
  }
  return result;
}

event_log event_log::select_lines(std::span<const std::size_t> chosen) const {
  constexpr std::uint32_t kNone = UINT32_MAX;
  std::vector<std::uint32_t> renumbered(names_.size(), kNone);
  event_log selected;
  for (const std::size_t i : chosen) {
    for (const std::uint32_t n : line(i)) {
      if (renumbered[n] == kNone) {
        renumbered[n] = static_cast<std::uint32_t>(selected.names_.size());
        selected.names_.push_back(names_[n]);
        selected.numbers_.emplace(names_[n], renumbered[n]);
      }
      selected.events_.push_back(renumbered[n]);
    }
    selected.end_line();
  }
  return selected;
}

}  // namespace logfsm
