// Reads arbitrary bytes as an XES log (readers/xes_log.h); the first byte
// chooses the options (classifier, lifecycle filter, sorting by time), the
// rest is the document. Checks that:
// 1. reading the document at once and handed out 1 to 7 bytes at a time
//    (sizes taken from the input) gives the same status, traces, case ids,
//    times and notes, and the same message unless both are expat's words on
//    XML that is not well-formed;
// 2. a failure is bad_log "line L, column C: ...", and every message and
//    note is one non-empty line;
// 3. sorting by time only reorders each trace: the traces hold the same
//    events as without sorting, and the notes are the same but for the one
//    on traces kept in file order.
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

#include "readers/xes_log.h"
#include "reading.h"

namespace {

using namespace logfsm::fuzzing;

void check(bool ok, const char* what) { logfsm::fuzzing::check(ok, "xes_reader_fuzzer", what); }


// Whether a failure is expat's words: what expat calls the first wrong
// token (junk after the root element, or an invalid token) can depend on
// where its input was cut; the reader's own failures must not.
bool expat_words(const std::string& message) {
  for (const char* own :
       {": not an XES log: ", ": elements nested deeper than ", "longer than 16 MiB"}) {
    if (message.find(own) != std::string::npos) return false;
  }
  return !message.empty();
}

logfsm::read_options options_from(std::uint8_t byte) {
  logfsm::read_options options;
  switch (byte & 3) {
    case 1:
      options.classifier = {"concept:name", "lifecycle:transition"};
      break;
    case 2:
      options.classifier = {"org:resource", "concept:name", "org:resource"};
      break;
    case 3:
      options.classifier = {"x"};
      break;
    default:
      break;
  }
  if (byte & 4) options.lifecycle = {"complete", "START"};
  if (byte & 8) options.sort_by_time = true;
  if (byte & 16) options.timestamp_format = "%Y/%m/%d %H:%M:%S.%f";
  return options;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const logfsm::read_options options = options_from(data[0]);
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

  const reading whole = read_whole(logfsm::read_xes_log, text, options);
  const reading pieces = read_in_pieces(logfsm::read_xes_log, text, options);
  check(whole.result.code() == pieces.result.code(),
        "reading in pieces changes the status");
  check(whole.result.message() == pieces.result.message() ||
            (expat_words(whole.result.message()) && expat_words(pieces.result.message())),
        "reading in pieces changes the message");
  check(whole.traces == pieces.traces, "reading in pieces changes the traces");
  check(whole.case_ids == pieces.case_ids && whole.times == pieces.times,
        "reading in pieces changes the case ids or times");
  check(whole.notes == pieces.notes, "reading in pieces changes the notes");

  if (whole.result.ok()) {
    check(whole.result.message().empty(), "a success with a message");
  } else {
    check(whole.result.code() == logfsm::status_code::bad_log,
          "a failure other than bad_log");
    check(whole.result.message().starts_with("line "), "a failure without its place");
    check(!whole.result.message().empty() && one_line(whole.result.message()),
          "a failure message not of one line");
  }
  for (const std::string& note : whole.notes)
    check(!note.empty() && one_line(note), "a note not of one line");

  if (options.sort_by_time) {
    logfsm::read_options unsorted = options;
    unsorted.sort_by_time = false;
    const reading plain = read_whole(logfsm::read_xes_log, text, unsorted);
    check(plain.result.message() == whole.result.message(), "sorting changes the status");
    if (whole.result.ok()) {
      check(plain.traces.size() == whole.traces.size(), "sorting changes the traces");
      for (std::size_t i = 0; i < plain.traces.size(); ++i) {
        std::vector<std::string> a = plain.traces[i], b = whole.traces[i];
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        check(a == b, "sorting changes the events of a trace");
      }
      logfsm::read_notes notes = whole.notes;
      std::erase_if(notes, [](const std::string& note) {
        return note.find(" kept in file order because ") != std::string::npos;
      });
      check(notes == plain.notes, "sorting changes the other notes");
    }
  }
  return 0;
}
