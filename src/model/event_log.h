// A log as read, held compactly: every distinct event name once, and every
// event occurrence as the number of its name.
#ifndef LOGFSM_MODEL_EVENT_LOG_H_
#define LOGFSM_MODEL_EVENT_LOG_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace logfsm {

// The traces as lists of names: one list per line.
using raw_traces = std::vector<std::vector<std::string>>;

class event_log {
 public:
  // Appends an occurrence of `name` to the current line.
  void add_event(std::string_view name);
  // Ends the current line (possibly empty) and starts the next one.
  void end_line();

  // The distinct names, numbered in order of their first occurrence.
  const std::vector<std::string>& names() const { return names_; }
  std::size_t line_count() const { return line_ends_.size(); }
  // The name numbers of the events of ended line `i`, in order.
  std::span<const std::uint32_t> line(std::size_t i) const;
  std::int64_t event_count() const { return static_cast<std::int64_t>(events_.size()); }

  // Every ended line as a list of names.
  raw_traces lines() const;

  // A log of just the ended lines `chosen` (ascending indices), as reading a
  // file of those lines would give it: names numbered in order of their
  // first occurrence there. Each distinct name is hashed once, not once per
  // event as reading would.
  event_log select_lines(std::span<const std::size_t> chosen) const;

 private:
  struct name_hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const {
      return std::hash<std::string_view>()(s);
    }
  };

  std::vector<std::string> names_;
  std::unordered_map<std::string, std::uint32_t, name_hash, std::equal_to<>> numbers_;
  std::vector<std::uint32_t> events_;
  std::vector<std::size_t> line_ends_;  // one past each line's last event
};

}  // namespace logfsm

#endif  // LOGFSM_MODEL_EVENT_LOG_H_
