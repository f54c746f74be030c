#include "readers/text_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>

#include "support/read_bytes.h"

namespace logfsm {

using testing::read_bytes;
using testing::read_outcome;
namespace {

raw_traces traces_of(std::string_view text) { return parse_log(text).lines(); }

struct line_case {
  std::string line;
  std::vector<std::string> names;
};

TEST(TextLogTest, EverySemicolonEndsOneNameTheRestOfTheLineIsIgnored) {
  const line_case cases[] = {
      {"a;b;c;", {"a", "b", "c"}},
      {"a;b;c", {"a", "b"}},
      {";;", {"", ""}},
      {";x;", {"", "x"}},
      {"abc", {}},
      {"", {}},
      {" a ;\t;", {" a ", "\t"}},
      {"a b;;c", {"a b", ""}},
      {std::string("\0;\xff\x80;", 5), {std::string(1, '\0'), "\xff\x80"}},
      {"\"q\";\\;->;{};", {"\"q\"", "\\", "->", "{}"}},
  };
  for (const line_case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.line));
    for (const char* ending : {"", "\n", "\r\n"}) {
      if ((c.line + ending).empty()) continue;  // a file without any line
      const event_log log = parse_log(c.line + ending);
      ASSERT_EQ(log.lines().size(), 1u);
      EXPECT_EQ(log.lines()[0], c.names);
      EXPECT_EQ(log.event_count(), static_cast<std::int64_t>(c.names.size()));
    }
  }
}

TEST(TextLogTest, OneTracePerLineEmptyLinesIncluded) {
  EXPECT_EQ(traces_of(""), raw_traces{});
  EXPECT_EQ(traces_of("\n"), raw_traces{{}});
  EXPECT_EQ(traces_of("\n\n"), (raw_traces{{}, {}}));
  EXPECT_EQ(traces_of("a;\n"), raw_traces{{"a"}});
  EXPECT_EQ(traces_of("a;\nb;"), (raw_traces{{"a"}, {"b"}}));
  EXPECT_EQ(traces_of("a;\n\nx\nb;c;\n"), (raw_traces{{"a"}, {}, {}, {"b", "c"}}));
  EXPECT_EQ(traces_of("a;\n\n"), (raw_traces{{"a"}, {}}));
}

TEST(TextLogTest, CrLfGivesTheSameTracesAsLf) {
  const std::string lf = "a;b;\n;;\nx\n\nc;d\n; ;";
  std::string crlf;
  for (const char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(traces_of(crlf), traces_of(lf));
  EXPECT_EQ(traces_of(crlf).size(), 6u);
}

TEST(TextLogTest, ACarriageReturnElsewhereBelongsToTheName) {
  EXPECT_EQ(traces_of("\r;a\r;b\r\n"), (raw_traces{{"\r", "a\r"}}));
  EXPECT_EQ(traces_of("a;\rb;"), (raw_traces{{"a", "\rb"}}));
}

TEST(TextLogTest, EventTotalCountsEveryNameOfEveryLine) {
  EXPECT_EQ(parse_log("").event_count(), 0);
  EXPECT_EQ(parse_log("\nabc\n").event_count(), 0);
  const event_log one = parse_log("\nx;\n\n");
  EXPECT_EQ(one.line_count(), 3u);
  EXPECT_EQ(one.event_count(), 1);
  EXPECT_EQ(parse_log("a;b;\n;;;\nc").event_count(), 5);
}

// Hands out its text a few bytes at a time, then reports the end or, when
// asked to, a read error (as a file stream does on a failing device).
class trickling_buffer : public std::streambuf {
 public:
  trickling_buffer(std::string text, bool fail_at_end, std::size_t step = 3)
      : text_(std::move(text)), fail_at_end_(fail_at_end), step_(step) {}

 protected:
  int_type underflow() override {
    if (given_ == text_.size()) {
      if (fail_at_end_) throw std::runtime_error("read error");
      return traits_type::eof();
    }
    const std::size_t n = std::min(step_, text_.size() - given_);
    char* start = text_.data() + given_;
    setg(start, start, start + n);
    given_ += n;
    return traits_type::to_int_type(*start);
  }

 private:
  std::string text_;
  bool fail_at_end_;
  std::size_t step_;
  std::size_t given_ = 0;
};

read_outcome read_trickling(const std::string& text, bool fail_at_end) {
  trickling_buffer buffer(text, fail_at_end);
  std::istream stream(&buffer);
  input_file in(stream);
  event_log log;
  read_outcome outcome;
  outcome.result = read_text_log(in, {}, log, outcome.notes);
  outcome.traces = log.lines();
  return outcome;
}

// Reading from a file, in whatever pieces it comes, gives what parsing the
// same text in memory gives.
TEST(TextLogTest, ReadingAgreesWithParsingHoweverTheReadsAreCut) {
  std::string long_log;
  for (int i = 0; i < 20000; ++i) long_log += "ab;cd;\n";
  long_log += std::string(70000, 'x') + ";y";  // one name across the read buffers
  for (const std::string& text : std::vector<std::string>{
           "", "\n", "\n\n", "a;", "a;\n", "a;\n\n", "a;b\nc;;\r\n\r\nx", ";\r\n;", "\r",
           "a;\r", "a;\rb;\n", std::string("n\0;\xff;\n", 7), long_log}) {
    SCOPED_TRACE(::testing::PrintToString(text.substr(0, 40)));
    const read_outcome whole = read_bytes(read_text_log, text);
    EXPECT_TRUE(whole.result.ok());
    EXPECT_EQ(whole.traces, parse_log(text).lines());
    EXPECT_EQ(read_trickling(text, false).traces, whole.traces);
  }
}

// A device that fails before the end of the log: the complete lines read
// before the failure stand, and the failure is reported.
TEST(TextLogTest, ReadErrorKeepsTheLinesReadBefore) {
  const read_outcome read = read_trickling("a;b;\nc;d;\ne", true);
  ASSERT_EQ(read.traces, (raw_traces{{"a", "b"}, {"c", "d"}}));
  EXPECT_EQ(read.result.code(), status_code::cannot_read);
}

// Writing and reading back gives the same log; the names the format cannot
// hold are changed and counted once each.
TEST(TextLogTest, FormatsTracesThatReadBackTheSame) {
  const std::string text = "a;b c;;\n\nx;a;\n\n";
  std::string written;
  EXPECT_EQ(format_text_log(parse_log(text), written), 0u);
  EXPECT_EQ(written, text);

  event_log odd;
  for (const char* name : {"a;b", "c\r\n", "a;b", "ok"}) odd.add_event(name);
  odd.end_line();
  written.clear();
  EXPECT_EQ(format_text_log(odd, written), 2u);
  EXPECT_EQ(written, "a_b;c__;a_b;ok;\n");
}

}  // namespace
}  // namespace logfsm
