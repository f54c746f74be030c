#include "model/event_log.h"

#include <cassert>

namespace logfsm {

void event_log::add_event(std::string_view name, std::int64_t time) {
  events_.push_back(names_.number(name));
  if (!times_.empty()) {
    times_.push_back(time);
  } else if (time != no_time) {
    times_.assign(events_.size() - 1, no_time);
    times_.push_back(time);
  }
}

void event_log::end_line(std::string_view case_id) {
  line_ends_.push_back(events_.size());
  if (case_ends_.empty() && case_id.empty()) return;
  if (case_ends_.empty()) case_ends_.assign(line_ends_.size() - 1, 0);
  case_text_.append(case_id);
  case_ends_.push_back(case_text_.size());
}

std::span<const std::uint32_t> event_log::line(std::size_t i) const {
  const std::size_t first = line_start(i);
  return std::span<const std::uint32_t>(events_).subspan(first, line_ends_[i] - first);
}

std::string_view event_log::case_id(std::size_t i) const {
  if (case_ends_.empty()) return {};
  const std::size_t first = i == 0 ? 0 : case_ends_[i - 1];
  return std::string_view(case_text_).substr(first, case_ends_[i] - first);
}

std::int64_t event_log::time(std::size_t i, std::size_t position) const {
  assert(position < line_ends_[i] - line_start(i));
  return times_.empty() ? no_time : times_[line_start(i) + position];
}

raw_traces event_log::lines() const {
  raw_traces result(line_count());
  for (std::size_t i = 0; i < line_count(); ++i) {
    for (const std::uint32_t n : line(i)) result[i].push_back(names()[n]);
  }
  return result;
}

event_log event_log::select_lines(std::span<const std::size_t> chosen) const {
  constexpr std::uint32_t kNone = UINT32_MAX;
  std::vector<std::uint32_t> renumbered(names().size(), kNone);
  event_log selected;
  for (const std::size_t i : chosen) {
    const std::size_t first = line_start(i);
    for (std::size_t e = first; e < line_ends_[i]; ++e) {
      std::uint32_t& n = renumbered[events_[e]];
      if (n == kNone) n = selected.names_.number(names_[events_[e]]);
      selected.events_.push_back(n);
      if (!times_.empty()) selected.times_.push_back(times_[e]);
    }
    selected.end_line(case_id(i));
  }
  // As reading would, keep times only when some selected event has one.
  bool timed = false;
  for (const std::int64_t t : selected.times_) timed = timed || t != no_time;
  if (!timed) std::vector<std::int64_t>().swap(selected.times_);
  return selected;
}

}  // namespace logfsm
