#include "readers/text_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>

namespace logfsm {
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

TEST(TextLogTest, ReadLogReadsTheWholeStream) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "ab;cd;\n";
  text += std::string(70000, 'x') + ";y";  // one name across the read buffers
  std::istringstream in(text);
  const raw_traces lines = read_log(in).lines();
  ASSERT_EQ(lines.size(), 20001u);
  EXPECT_EQ(lines[19999], (std::vector<std::string>{"ab", "cd"}));
  EXPECT_EQ(lines[20000], std::vector<std::string>{std::string(70000, 'x')});

  std::istringstream empty("");
  EXPECT_EQ(read_log(empty).line_count(), 0u);
}

TEST(TextLogTest, ReadLogAgreesWithParseLog) {
  for (const std::string& text : std::vector<std::string>{
           "", "\n", "\n\n", "a;", "a;\n", "a;\n\n", "a;b\nc;;\r\n\r\nx", ";\r\n;", "\r",
           "a;\r", std::string("n\0;\xff;\n", 7)}) {
    SCOPED_TRACE(::testing::PrintToString(text));
    std::istringstream in(text);
    EXPECT_EQ(read_log(in).lines(), parse_log(text).lines());
  }
}

// Hands out its text a few bytes at a time, then reports the end or, when
// asked to, a read error (as a file stream does on a failing device).
class trickling_buffer : public std::streambuf {
 public:
  trickling_buffer(std::string text, bool fail_at_end)
      : text_(std::move(text)), fail_at_end_(fail_at_end) {}

 protected:
  int_type underflow() override {
    if (given_ == text_.size()) {
      if (fail_at_end_) throw std::runtime_error("read error");
      return traits_type::eof();
    }
    const std::size_t n = std::min<std::size_t>(3, text_.size() - given_);
    char* start = text_.data() + given_;
    setg(start, start, start + n);
    given_ += n;
    return traits_type::to_int_type(*start);
  }

 private:
  std::string text_;
  bool fail_at_end_;
  std::size_t given_ = 0;
};

TEST(TextLogTest, ReadLogCollectsSmallReads) {
  trickling_buffer buffer("a;bc;\r\n;\nlong name;x", false);
  std::istream in(&buffer);
  EXPECT_EQ(read_log(in).lines(), (raw_traces{{"a", "bc"}, {""}, {"long name"}}));
}

// A device that fails before the end of the log: the complete lines read
// before the failure stand.
TEST(TextLogTest, ReadErrorKeepsTheLinesReadBefore) {
  trickling_buffer buffer("a;b;\nc;d;\ne", true);
  std::istream in(&buffer);
  const raw_traces lines = read_log(in).lines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(lines[1], (std::vector<std::string>{"c", "d"}));
  EXPECT_TRUE(in.bad());
}

}  // namespace
}  // namespace logfsm
