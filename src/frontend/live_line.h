// One progress line on a terminal, rewritten in place at most ten times a
// second, for a person watching a long run.
#ifndef LOGFSM_FRONTEND_LIVE_LINE_H_
#define LOGFSM_FRONTEND_LIVE_LINE_H_

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>
#include <utility>

namespace logfsm {

using clock_type = std::chrono::steady_clock;

double seconds_since(clock_type::time_point start);

class live_line {
 public:
  // `verb` and `unit` make the line "VERB 3 of 10 UNIT (30%), 2 UNIT/s, 1.5 s".
  live_line(std::ostream& err, clock_type::time_point start,
            std::string verb = "Processed", std::string unit = "traces")
      : err_(err), start_(start), verb_(std::move(verb)), unit_(std::move(unit)) {}

  // Shows the count, unless the line changed less than 0.1 s ago and
  // `done` is not yet `total`.
  void show(std::size_t done, std::size_t total);
  // Blanks the line, leaving the cursor at its start.
  void clear() { write(""); }

 private:
  void write(const std::string& text);

  std::ostream& err_;
  clock_type::time_point start_;
  std::string verb_;
  std::string unit_;
  clock_type::time_point last_{};
  std::size_t width_ = 0;
};

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_LIVE_LINE_H_
