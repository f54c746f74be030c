// Reads a raw text log by patterns taken from the input, at once and in
// small pieces, and checks that both readings give the same status, traces,
// case ids, times and notes, that every message and note is one line, and
// that no more events and unmatched lines come out than the log has lines.
//
// Input: a flag byte, then lines: the pattern (--regex); when flag & 1 a
// separator; when flag & 2 a skip pattern; when flag & 4 a second
// pattern; the rest is the log. The digits '0'-'7' are readable flags.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>

#include "readers/regex_log.h"
#include "reading.h"

namespace {

using namespace logfsm::fuzzing;

void check(bool ok, const char* what) { logfsm::fuzzing::check(ok, "regex_reader_fuzzer", what); }


// The text up to the next LF, removed from `rest` with the LF.
std::string take_line(std::string_view& rest) {
  const std::size_t end = std::min(rest.find('\n'), rest.size());
  std::string line(rest.substr(0, end));
  rest.remove_prefix(std::min(end + 1, rest.size()));
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned flags = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  logfsm::read_options options;
  options.regex.push_back(take_line(rest));
  if (flags & 1) options.separator = take_line(rest);
  if (flags & 2) options.skip.push_back(take_line(rest));
  if (flags & 4) options.regex.push_back(take_line(rest));
  const std::string log(rest);

  const reading whole = read_whole(logfsm::read_regex_log, log, options);
  const reading in_pieces = read_in_pieces(logfsm::read_regex_log, log, options);

  check(whole.result.code() == in_pieces.result.code(),
        "the status differs when read in pieces");
  check(whole.result.message() == in_pieces.result.message(),
        "the message differs when read in pieces");
  check(whole.traces == in_pieces.traces, "the traces differ when read in pieces");
  check(whole.case_ids == in_pieces.case_ids && whole.times == in_pieces.times,
        "the case ids or times differ when read in pieces");
  check(whole.notes == in_pieces.notes, "the notes differ when read in pieces");

  const logfsm::status& result = whole.result;
  check(result.ok() || result.code() == logfsm::status_code::bad_argument,
        "a failure other than a pattern that cannot be used");
  check(result.ok() != !result.message().empty(),
        "a failure without a message or success with one");
  check(one_line(result.message()), "a message of more than one line");
  check(whole.notes.size() <= 1, "more than one note");
  std::size_t unmatched = 0;
  for (const std::string& note : whole.notes) {
    check(one_line(note), "a note of more than one line");
    unmatched = std::strtoull(note.c_str(), nullptr, 10);
    check(unmatched > 0, "a note that counts no line");
  }
  if (!result.ok())
    check(whole.traces.empty(), "traces read although the patterns are unusable");

  std::size_t events = 0;
  for (const auto& trace : whole.traces) {
    check(!trace.empty(), "an empty trace");
    events += trace.size();
  }
  const auto line_ends = static_cast<std::size_t>(std::count_if(
      log.begin(), log.end(), [](char c) { return c == '\n' || c == '\r'; }));
  check(events + unmatched <= line_ends + 1,
        "more events and unmatched lines than lines");
  return 0;
}
