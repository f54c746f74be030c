#include "frontend/log_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <type_traits>

#include "support/temp_dir.h"

namespace logfsm {
namespace {

using testing::temp_dir;
using testing::write_file;

raw_traces traces_of(std::string_view text) { return parse_log(text).traces.lines(); }

struct line_case {
  std::string line;
  std::vector<std::string> names;
};

TEST(LogReaderTest, EverySemicolonEndsOneNameTheRestOfTheLineIsIgnored) {
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
      const log_contents log = parse_log(c.line + ending);
      ASSERT_EQ(log.traces.lines().size(), 1u);
      EXPECT_EQ(log.traces.lines()[0], c.names);
      EXPECT_EQ(log.event_total, static_cast<std::int64_t>(c.names.size()));
    }
  }
}

TEST(LogReaderTest, OneTracePerLineEmptyLinesIncluded) {
  EXPECT_EQ(traces_of(""), raw_traces{});
  EXPECT_EQ(traces_of("\n"), raw_traces{{}});
  EXPECT_EQ(traces_of("\n\n"), (raw_traces{{}, {}}));
  EXPECT_EQ(traces_of("a;\n"), raw_traces{{"a"}});
  EXPECT_EQ(traces_of("a;\nb;"), (raw_traces{{"a"}, {"b"}}));
  EXPECT_EQ(traces_of("a;\n\nx\nb;c;\n"), (raw_traces{{"a"}, {}, {}, {"b", "c"}}));
  EXPECT_EQ(traces_of("a;\n\n"), (raw_traces{{"a"}, {}}));
}

TEST(LogReaderTest, CrLfGivesTheSameTracesAsLf) {
  const std::string lf = "a;b;\n;;\nx\n\nc;d\n; ;";
  std::string crlf;
  for (const char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(traces_of(crlf), traces_of(lf));
  EXPECT_EQ(traces_of(crlf).size(), 6u);
}

TEST(LogReaderTest, ACarriageReturnElsewhereBelongsToTheName) {
  EXPECT_EQ(traces_of("\r;a\r;b\r\n"), (raw_traces{{"\r", "a\r"}}));
  EXPECT_EQ(traces_of("a;\rb;"), (raw_traces{{"a", "\rb"}}));
}

TEST(LogReaderTest, EventTotalCountsEveryNameOfEveryLine) {
  static_assert(std::is_same_v<decltype(log_contents::event_total), std::int64_t>);
  EXPECT_EQ(parse_log("").event_total, 0);
  EXPECT_EQ(parse_log("\nabc\n").event_total, 0);
  const log_contents one = parse_log("\nx;\n\n");
  EXPECT_EQ(one.traces.lines().size(), 3u);
  EXPECT_EQ(one.event_total, 1);
  EXPECT_EQ(parse_log("a;b;\n;;;\nc").event_total, 5);
}

TEST(LogReaderTest, ReadLogReadsTheWholeStream) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "ab;cd;\n";
  text += std::string(70000, 'x') + ";y";  // one name across the read buffers
  std::istringstream in(text);
  const log_contents log = read_log(in);
  ASSERT_EQ(log.traces.lines().size(), 20001u);
  EXPECT_EQ(log.traces.lines()[19999], (std::vector<std::string>{"ab", "cd"}));
  EXPECT_EQ(log.traces.lines()[20000], std::vector<std::string>{std::string(70000, 'x')});
  EXPECT_EQ(log.event_total, 40001);

  std::istringstream empty("");
  EXPECT_TRUE(read_log(empty).traces.lines().empty());
}

TEST(LogReaderTest, ReadLogAgreesWithParseLog) {
  for (const std::string& text : std::vector<std::string>{
           "", "\n", "\n\n", "a;", "a;\n", "a;\n\n", "a;b\nc;;\r\n\r\nx", ";\r\n;", "\r",
           "a;\r", std::string("n\0;\xff;\n", 7)}) {
    SCOPED_TRACE(::testing::PrintToString(text));
    std::istringstream in(text);
    const log_contents read = read_log(in);
    const log_contents parsed = parse_log(text);
    EXPECT_EQ(read.traces.lines(), parsed.traces.lines());
    EXPECT_EQ(read.event_total, parsed.event_total);
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

TEST(LogReaderTest, ReadLogCollectsSmallReads) {
  trickling_buffer buffer("a;bc;\r\n;\nlong name;x", false);
  std::istream in(&buffer);
  EXPECT_EQ(read_log(in).traces.lines(), (raw_traces{{"a", "bc"}, {""}, {"long name"}}));
}

// A device that fails before the end of the log: the complete lines read
// before the failure stand.
TEST(LogReaderTest, ReadErrorKeepsTheLinesReadBefore) {
  trickling_buffer buffer("a;b;\nc;d;\ne", true);
  std::istream in(&buffer);
  const log_contents log = read_log(in);
  ASSERT_GE(log.traces.lines().size(), 2u);
  EXPECT_EQ(log.traces.lines()[0], (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(log.traces.lines()[1], (std::vector<std::string>{"c", "d"}));
}

TEST(LogReaderTest, OpenLogOpensTheNamedFileInBinaryMode) {
  const temp_dir dir;
  const std::string name = dir.file("my log.txt");
  write_file(name, "a;b;\r\nc;");
  std::ifstream stream;
  ASSERT_TRUE(open_log(name, stream));
  std::string bytes(std::istreambuf_iterator<char>(stream), {});
  EXPECT_EQ(bytes, "a;b;\r\nc;");

  // Opening again replaces the earlier file in the same stream.
  write_file(dir.file("other.txt"), "x;\n");
  ASSERT_TRUE(open_log(dir.file("other.txt"), stream));
  EXPECT_EQ(read_log(stream).traces.lines(), raw_traces{{"x"}});
}

TEST(LogReaderTest, OpenLogFailsForMissingFilesAndDirectories) {
  const temp_dir dir;
  std::ifstream stream;
  EXPECT_FALSE(open_log(dir.file("missing.txt"), stream));
  EXPECT_FALSE(stream.is_open());
  std::filesystem::create_directory(dir.path() / "folder.txt");
  EXPECT_FALSE(open_log(dir.file("folder.txt"), stream));
  EXPECT_FALSE(stream.is_open());
  EXPECT_FALSE(open_log("", stream));
}

}  // namespace
}  // namespace logfsm
