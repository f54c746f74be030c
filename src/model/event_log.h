// A log as read, held compactly: every distinct event name once, every event
// occurrence as the number of its name and, when the source has them, each
// line's case id and each event's instant.
//
// Case ids and times cost nothing until the first one is added: a log whose
// source has none holds no per-line or per-event vector for them. With
// times, each event takes 8 bytes more; with case ids, each line takes its
// id's bytes and an 8-byte offset.
#ifndef LOGFSM_MODEL_EVENT_LOG_H_
#define LOGFSM_MODEL_EVENT_LOG_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/name_numbers.h"

namespace logfsm {

// The traces as lists of names: one list per line.
using raw_traces = std::vector<std::vector<std::string>>;

class event_log {
 public:
  // The time of an event that has none (its source gave none, or one that
  // did not parse).
  static constexpr std::int64_t no_time = INT64_MIN;

  // Appends an occurrence of `name` to the current line, at `time`
  // (microseconds since 1970-01-01 00:00:00 UTC) or without a time.
  void add_event(std::string_view name, std::int64_t time = no_time);
  // Ends the current line (possibly empty) and starts the next one; the
  // ended line has the case id `case_id` (empty: none).
  void end_line(std::string_view case_id = {});

  // The distinct names, numbered in order of their first occurrence.
  const std::vector<std::string>& names() const { return names_.strings(); }
  std::size_t line_count() const { return line_ends_.size(); }
  // The name numbers of the events of ended line `i`, in order.
  std::span<const std::uint32_t> line(std::size_t i) const;
  std::int64_t event_count() const { return static_cast<std::int64_t>(events_.size()); }

  // Whether some line has a case id.
  bool has_case_ids() const { return !case_ends_.empty(); }
  // The case id of ended line `i`; empty when it has none.
  std::string_view case_id(std::size_t i) const;
  // Whether some event has a time.
  bool has_times() const { return !times_.empty(); }
  // The time of event `position` of ended line `i`, or no_time.
  // Requires: position < line(i).size().
  std::int64_t time(std::size_t i, std::size_t position) const;

  // Every ended line as a list of names.
  raw_traces lines() const;

  // A log of just the ended lines `chosen` (ascending indices), as reading a
  // file of those lines would give it: names numbered in order of their
  // first occurrence there, the lines' case ids and the events' times kept.
  // Each distinct name is hashed once, not once per event as reading would.
  event_log select_lines(std::span<const std::size_t> chosen) const;

 private:
  std::size_t line_start(std::size_t i) const { return i == 0 ? 0 : line_ends_[i - 1]; }

  name_numbers names_;
  std::vector<std::uint32_t> events_;
  std::vector<std::size_t> line_ends_;  // one past each line's last event
  // Per event; empty while no event has a time.
  std::vector<std::int64_t> times_;
  // Every line's case id, one after the other, and per line the end of its
  // id there; both empty while no line has a case id.
  std::string case_text_;
  std::vector<std::size_t> case_ends_;
};

}  // namespace logfsm

#endif  // LOGFSM_MODEL_EVENT_LOG_H_
