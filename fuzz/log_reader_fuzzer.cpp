// Reads arbitrary bytes as a log, from memory (parse_log) and through a
// stream (read_text_log), and checks that both readings agree and follow the log
// format of readers/text_log.h: one line per LF-ended line plus an
// unterminated last line, a CR before the LF dropped, every ";" ending one
// event named by the bytes since the previous ";" or the line start.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "readers/text_log.h"

namespace {

void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "log_reader_fuzzer: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const logfsm::event_log parsed = logfsm::parse_log(text);
  std::istringstream stream{std::string(text)};
  logfsm::input_file in(stream);
  logfsm::event_log streamed;
  logfsm::read_notes notes;
  check(logfsm::read_text_log(in, {}, streamed, notes).ok(), "reading from memory failed");

  const logfsm::raw_traces lines = parsed.lines();
  check(lines == streamed.lines(), "parse_log and read_text_log read different lines");
  check(parsed.event_count() == std::count(text.begin(), text.end(), ';'),
        "the event total differs from the number of ';'");

  // Every line, CR dropped, must hold one event per ";" and read back as its
  // events joined by ";" up to its last ";" (the text after it is ignored).
  std::size_t index = 0;
  for (std::string_view rest = text; !rest.empty(); ++index) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    check(index < lines.size(), "fewer lines read than the text holds");
    check(static_cast<std::ptrdiff_t>(lines[index].size()) ==
              std::count(line.begin(), line.end(), ';'),
          "a line holds other than one event per ';'");
    std::string joined;
    for (const std::string& name : lines[index]) joined.append(name).push_back(';');
    const std::size_t last = line.rfind(';');
    check(joined == line.substr(0, last == std::string_view::npos ? 0 : last + 1),
          "a line's events do not spell the line up to its last ';'");
  }
  check(index == lines.size(), "more lines read than the text holds");
  return 0;
}
