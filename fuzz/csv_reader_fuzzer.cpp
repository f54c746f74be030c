// Reads arbitrary bytes as a CSV event table twice, once handed out whole
// and once a few bytes at a time, and checks that:
//
// 1. both readings give the same status, traces, case ids, times and notes,
//    so that no chunk boundary changes what a record holds or where a line is;
// 2. a failure is bad_log with one non-empty line, and
//    every note is one line;
// 3. every trace holds an event (a case exists only through its rows);
// 4. without quotes in the input, every row that is not blank and not the
//    header is either an event or a row left out for lacking a case.
//
// The first byte chooses the options: bits 0-2 the delimiter (detected, ',',
// ';', tab, '|', ':'), bit 3 no_sort, bits 4-5 a timestamp layout, bit 6
// two activity columns, bit 7 a case column named "id". The rest is the
// CSV text; its bytes also give the sizes of the pieces.
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

#include "readers/csv_log.h"
#include "reading.h"

namespace {

using namespace logfsm::fuzzing;

void check(bool ok, const char* what) { logfsm::fuzzing::check(ok, "csv_reader_fuzzer", what); }


logfsm::read_options options_from(unsigned char choice) {
  static constexpr char kDelimiters[] = {'\0', ',', ';', '\t', '|', ':', '\0', '\0'};
  static constexpr const char* kLayouts[] = {"", "%d/%m/%Y %H:%M", "%Y%m%d%H%M%S",
                                             "%b %d %I:%M %p"};
  logfsm::read_options options;
  options.delimiter = kDelimiters[choice & 7];
  options.no_sort = (choice & 8) != 0;
  options.timestamp_format = kLayouts[(choice >> 4) & 3];
  if ((choice & 64) != 0) options.activity_columns = {"activity", "concept:name"};
  if ((choice & 128) != 0) options.case_column = "id";
  return options;
}

// The lines that hold something (ends: LF, CR LF, lone CR).
std::size_t filled_lines(std::string_view text) {
  std::size_t count = 0;
  std::size_t length = 0;
  for (const char c : text) {
    if (c == '\n' || c == '\r') {
      count += length > 0 ? 1 : 0;
      length = 0;
    } else {
      ++length;
    }
  }
  return count + (length > 0 ? 1 : 0);
}

// N of the note "N rows without a case ...", else 0.
std::size_t rows_left_out(const logfsm::read_notes& notes) {
  for (const std::string& note : notes) {
    // The other note quotes a timestamp, which may hold anything.
    if (note.find(" without a case left out (") != std::string::npos &&
        note.find('"') == std::string::npos) {
      return std::stoul(note);
    }
  }
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const logfsm::read_options options = options_from(data[0]);
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

  const reading whole = read_whole(logfsm::read_csv_log, text, options);
  const reading cut = read_in_pieces(logfsm::read_csv_log, text, options);

  check(cut.result.code() == whole.result.code(),
        "the status differs when read in pieces");
  check(cut.result.message() == whole.result.message(),
        "the message differs when read in pieces");
  check(cut.traces == whole.traces, "the traces differ when read in pieces");
  check(cut.case_ids == whole.case_ids && cut.times == whole.times,
        "the case ids or times differ when read in pieces");
  check(cut.notes == whole.notes, "the notes differ when read in pieces");

  if (!whole.result.ok()) {
    check(whole.result.code() == logfsm::status_code::bad_log,
          "a failure other than bad_log");
    check(!whole.result.message().empty() && one_line(whole.result.message()),
          "a message not one line");
    return 0;
  }
  std::size_t events = 0;
  for (const auto& trace : whole.traces) {
    check(!trace.empty(), "a case without events");
    events += trace.size();
  }
  for (const std::string& note : whole.notes) {
    check(!note.empty() && one_line(note), "a note not one line");
  }
  std::string_view rows_text = text;
  if (rows_text.starts_with("\xEF\xBB\xBF")) rows_text.remove_prefix(3);
  if (rows_text.find('"') == std::string_view::npos) {
    const std::size_t rows = filled_lines(rows_text);
    check(rows == 0 || events + rows_left_out(whole.notes) + 1 == rows,
          "rows lost or invented without quotes");
  }
  return 0;
}
