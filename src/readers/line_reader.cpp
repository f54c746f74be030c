#include "readers/line_reader.h"

#include <cstring>

namespace logfsm {
namespace {

constexpr std::size_t kChunk = 1 << 16;

}  // namespace

bool line_reader::fill() {
  if (at_end_) return false;
  if (start_ > 0) {
    buffer_.erase(0, start_);
    start_ = 0;
  }
  const std::size_t old_size = buffer_.size();
  buffer_.resize(old_size + kChunk);
  const std::size_t got = in_.read(buffer_.data() + old_size, kChunk);
  buffer_.resize(old_size + got);
  if (got == 0) at_end_ = true;
  return got > 0;
}

bool line_reader::next(std::string_view& line) {
  std::size_t searched = start_;
  while (true) {
    const char* begin = buffer_.data() + searched;
    const std::size_t left = buffer_.size() - searched;
    const char* end = nullptr;
    if (cr_ends_line_) {
      for (const char* p = begin; p != begin + left; ++p) {
        if (*p == '\n' || *p == '\r') {
          end = p;
          break;
        }
      }
    } else {
      end = static_cast<const char*>(std::memchr(begin, '\n', left));
    }
    // A CR at the end of the buffer may be the first half of CR LF.
    const bool cr_undecided = end != nullptr && *end == '\r' &&
                              end + 1 == buffer_.data() + buffer_.size() && !at_end_;
    if (end != nullptr && !cr_undecided) {
      const std::size_t at = static_cast<std::size_t>(end - buffer_.data());
      line = std::string_view(buffer_).substr(start_, at - start_);
      std::size_t after = at + 1;
      if (*end == '\r' && after < buffer_.size() && buffer_[after] == '\n') ++after;
      start_ = after;
      ++number_;
      return true;
    }
    const std::size_t scanned = buffer_.size() - start_ - (cr_undecided ? 1 : 0);
    // At the end of the input an undecided CR is decided: one more look.
    if (!fill() && !cr_undecided) break;
    searched = scanned;  // fill() moved the line's start to 0
  }
  if (start_ == buffer_.size() || !in_.error().ok()) return false;
  line = std::string_view(buffer_).substr(start_);
  start_ = buffer_.size();
  ++number_;
  return true;
}

}  // namespace logfsm
