#include "frontend/live_line.h"

#include <cstdio>

namespace logfsm {

double seconds_since(clock_type::time_point start) {
  return std::chrono::duration<double>(clock_type::now() - start).count();
}

void live_line::show(std::size_t done, std::size_t total) {
  const clock_type::time_point now = clock_type::now();
  if (done != total && now - last_ < std::chrono::milliseconds(100)) return;
  last_ = now;
  const double elapsed = seconds_since(start_);
  char text[200];
  std::snprintf(text, sizeof text, "%s %zu of %zu %s (%.0f%%), %.0f %s/s, %.1f s",
                verb_.c_str(), done, total, unit_.c_str(),
                total == 0 ? 100.0 : 100.0 * double(done) / double(total),
                elapsed > 0 ? double(done) / elapsed : 0.0, unit_.c_str(), elapsed);
  write(text);
}

void live_line::write(const std::string& text) {
  err_ << '\r' << text;
  if (text.size() < width_)
    err_ << std::string(width_ - text.size(), ' ') << '\r' << text;
  width_ = text.size();
  err_ << std::flush;
}

}  // namespace logfsm
