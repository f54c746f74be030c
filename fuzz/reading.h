// What the reader fuzz targets share: running a log reader on bytes handed
// out whole or a few bytes at a time, and the checks every target makes.
#ifndef LOGFSM_FUZZ_READING_H_
#define LOGFSM_FUZZ_READING_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "readers/log_source.h"

namespace logfsm::fuzzing {

// Aborts with "TARGET: WHAT" unless `ok`.
inline void check(bool ok, const char* target, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "%s: %s\n", target, what);
  std::abort();
}

inline bool one_line(std::string_view text) {
  return text.find_first_of("\r\n") == std::string_view::npos;
}

struct reading {
  status result;
  raw_traces traces;
  read_notes notes;
  std::vector<std::string> case_ids;  // per trace, when the log has them
  std::vector<std::int64_t> times;    // per event, when the log has them
};

// Hands out its text 1 to 7 bytes at a time, each size taken from the text,
// so that every way a read can cut a record, a tag or a line end is tried.
class piece_buffer : public std::streambuf {
 public:
  explicit piece_buffer(std::string_view text) : text_(text) {}

 protected:
  int_type underflow() override {
    if (given_ == text_.size()) return traits_type::eof();
    const std::size_t step = 1 + static_cast<unsigned char>(text_[given_]) % 7;
    const std::size_t n = std::min(step, text_.size() - given_);
    char* start = text_.data() + given_;
    setg(start, start, start + n);
    given_ += n;
    return traits_type::to_int_type(*start);
  }

 private:
  std::string text_;
  std::size_t given_ = 0;
};

inline reading read_stream(log_reader reader, std::istream& stream,
                           const read_options& options) {
  input_file in(stream);
  event_log log;
  reading r;
  r.result = reader(in, options, log, r.notes);
  r.traces = log.lines();
  for (std::size_t i = 0; i < log.line_count(); ++i) {
    if (log.has_case_ids()) r.case_ids.emplace_back(log.case_id(i));
    for (std::size_t e = 0; log.has_times() && e < log.line(i).size(); ++e) {
      r.times.push_back(log.time(i, e));
    }
  }
  return r;
}

// `text` read by `reader` in one piece.
inline reading read_whole(log_reader reader, std::string_view text,
                          const read_options& options) {
  std::istringstream stream{std::string(text)};
  return read_stream(reader, stream, options);
}

// `text` read by `reader` a few bytes at a time.
inline reading read_in_pieces(log_reader reader, std::string_view text,
                              const read_options& options) {
  piece_buffer pieces(text);
  std::istream stream(&pieces);
  return read_stream(reader, stream, options);
}

}  // namespace logfsm::fuzzing

#endif  // LOGFSM_FUZZ_READING_H_
