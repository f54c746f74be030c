#include "readers/regex_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "readers/text_log.h"
#include "support/read_bytes.h"

namespace logfsm {
namespace {

using testing::read_bytes;
using testing::read_outcome;

const std::string kCaseEvent = R"((?P<case>\d+) (?P<event>\w+))";
const std::string kWord = R"((?P<event>\w+))";
const std::string kOneSkipped = "1 line matched no pattern and was skipped (line ";

struct read_case {
  std::vector<std::string> regex;
  std::string input;
  raw_traces traces;
  read_notes notes = {};
  std::string separator = "";
  std::vector<std::string> skip = {};
};

class RegexLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!reads_regex_logs()) GTEST_SKIP() << "this build has no RE2";
  }

  static read_outcome read(const read_case& c) {
    read_options options;
    options.regex = c.regex;
    options.separator = c.separator;
    options.skip = c.skip;
    return read_bytes(read_regex_log, c.input, options);
  }
};

TEST_F(RegexLogTest, CutsEventsIntoTraces) {
  const read_case cases[] = {
      // Without case group and separator: the whole file is one trace.
      {{kWord}, "a\nb\nc", {{"a", "b", "c"}}},
      {{kWord}, "", {}},
      {{kWord}, "\n \t\n", {}},
      {{kWord}, "x y\n", {}, {kOneSkipped + "1)"}},
      // Lines end at LF, CR LF and a lone CR; blank lines are not counted.
      {{kWord}, "a\r\nb\rc\nd\r\r\n\r", {{"a", "b", "c", "d"}}},
      {{"(?P<event>[a-z])"},
       "a\n1\n\n \n2\nb\n",
       {{"a", "b"}},
       {"2 lines matched no pattern and were skipped (first: line 2)"}},
      // Case values: one trace each, in order of first appearance.
      {{kCaseEvent}, "1 a\n2 b\n1 c\n3 d\n2 e", {{"a", "c"}, {"b", "e"}, {"d"}}},
      // No case group, or one that took no part: the case "".
      {{kCaseEvent, kWord}, "1 a\nz\n1 b\ny", {{"a", "b"}, {"z", "y"}}},
      {{R"((?:(?P<case>\d+) )?(?P<event>\w+))"},
       "1 a\nz\n2 b\ny",
       {{"a"}, {"z", "y"}, {"b"}}},
      // Separators end the trace; separators in a row make no empty trace.
      {{kWord}, "--\na\n--\n---\nb\nc\n--\n", {{"a"}, {"b", "c"}}, {}, "-+"},
      // With case values a separator ends every open trace.
      {{kCaseEvent},
       "1 a\n2 b\n--\n2 c\n1 d\n1 e\n--",
       {{"a"}, {"b"}, {"c"}, {"d", "e"}},
       {},
       "-+"},
      // The separator comes before blank and skip, skip before the patterns.
      {{"(?P<event>.*)"},
       "a\n--\n#b\n \nc\n-d\n",
       {{"a"}, {"c"}},
       {},
       "--",
       {"#.*", "-.*"}},
      {{"(?P<event>.*)"}, "a\nb\n\nc\n \t\n", {{"a", "b"}, {"c"}}, {}, R"(\s*)"},
      // The first pattern matching the whole line wins.
      {{"(?P<event>a)", R"((?P<event>a)\w*)", kWord}, "ab\nb\na", {{"a", "b", "a"}}},
      // Other named groups are ignored; an event group that took no part is "".
      {{R"((?P<at>\d+) (?P<event>\w+))"}, "12 a\n13 b", {{"a", "b"}}},
      {{"(?P<event>x)?y"}, "y\nxy", {{"", "x"}}},
      // (?<name> is a group; the same text in a class, after \ or in \Q\E is not.
      {{R"((?<case>\d) (?<event>\w+))"}, "1 a\n2 b\n1 c", {{"a", "c"}, {"b"}}},
      {{"(?P<event>[(?<>]+)"}, "(?<>\nP", {{"(?<>"}}, {kOneSkipped + "2)"}},
      {{R"((?P<event>\w)\(?<x>)"}, "a<x>\nb(<x>", {{"a", "b"}}},
      {{R"((?P<event>\w)\Q(?<x>\E)"}, "a(?<x>", {{"a"}}},
      {{"(?P<event>[[:digit:](?<]+)"}, "1(?<\nP", {{"1(?<"}}, {kOneSkipped + "2)"}},
      {{"[]](?<event>a)"}, "]a", {{"a"}}},
      // A byte order mark before the first line is dropped.
      {{"(?P<event>a)"},
       "\xEF\xBB\xBF"
       "a\na",
       {{"a", "a"}}},
  };
  for (const read_case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.regex) + " on " +
                 ::testing::PrintToString(c.input));
    const read_outcome got = read(c);
    ASSERT_TRUE(got.result.ok()) << got.result.message();
    EXPECT_EQ(got.traces, c.traces);
    EXPECT_EQ(got.notes, c.notes);
  }
}

// A trace's case value is its case id; a time group gives each event's
// time (ISO 8601 or the layout given), none where it took no part or does
// not parse; traces keep line order.
TEST_F(RegexLogTest, KeepsCaseValuesAndTimes) {
  read_options options;
  options.regex = {R"((?P<case>\d+) (?P<time>\S+) (?P<event>\w+))", kWord};
  const read_outcome cases = read_bytes(
      read_regex_log, "1 2024-01-01T10:00:00+01:00 a\n2 x b\n1 2024-01-01T08:00:00.5Z c\nd\n",
      options);
  EXPECT_EQ(cases.traces, (raw_traces{{"a", "c"}, {"b"}, {"d"}}));
  EXPECT_EQ(cases.case_ids, (std::vector<std::string>{"1", "2", ""}));
  EXPECT_EQ(cases.times, (std::vector<std::vector<std::string>>{
                             {"2024-01-01T09:00:00.000000Z", "2024-01-01T08:00:00.500000Z"},
                             {"-"},
                             {"-"}}));
  options.regex = {R"((?P<time>[^ ]+ [^ ]+)? ?(?P<event>\w+))"};
  options.timestamp_format = "%d/%m/%Y %H:%M";
  const read_outcome layout = read_bytes(read_regex_log, "2/1/2024 10:00 a\nb\n", options);
  EXPECT_TRUE(layout.case_ids.empty());
  EXPECT_EQ(layout.times, (std::vector<std::vector<std::string>>{
                              {"2024-01-02T10:00:00.000000Z", "-"}}));
}

TEST_F(RegexLogTest, RejectsUnusablePatterns) {
  struct bad_case {
    std::vector<std::string> regex;
    std::string message;
    std::string separator = "";
    std::vector<std::string> skip = {};
  };
  const bad_case cases[] = {
      {{}, "raw text logs need --regex PATTERN"},
      {{R"(\w+)"}, R"(--regex \w+: no group named event)"},
      {{kWord, "(?P<Event>a)"}, "--regex (?P<Event>a): no group named event"},
      {{"(?P<event>a"}, "--regex (?P<event>a: missing ): (?P<event>a"},
      {{"(?<event>a)(?<event>b)"},
       "--regex (?<event>a)(?<event>b): duplicate capture group name: event"},
      {{"(?<=a)(?P<event>b)"}, "--regex (?<=a)(?P<event>b): invalid perl operator: (?<"},
      {{"(?P<event>a\n"}, "--regex (?P<event>a\\n: missing ): (?P<event>a\\n"},
      {{kWord}, "--separator (: missing ): (", "("},
      {{kWord}, "--skip [b: missing ]: [b", "", {"a", "[b"}},
  };
  for (const bad_case& c : cases) {
    SCOPED_TRACE(c.message);
    const read_outcome got = read({c.regex, "a\n", {}, {}, c.separator, c.skip});
    EXPECT_EQ(got.result.code(), status_code::bad_argument);
    EXPECT_EQ(got.result.message(), c.message);
  }
}

TEST(RegexLogWithoutRe2Test, SaysSo) {
  if (reads_regex_logs()) GTEST_SKIP() << "this build has RE2";
  read_options options;
  options.regex = {kWord};
  const read_outcome got = read_bytes(read_regex_log, "a\n", options);
  EXPECT_EQ(got.result.code(), status_code::bad_log);
  EXPECT_EQ(got.result.message(), "this build reads no raw text logs (no RE2)");
}

// The method calls of a stack class, cut into one trace per object, give
// the converted log of the same data.
TEST_F(RegexLogTest, ReadsTheStackTraceLikeItsConvertedTwin) {
  const std::string folder = LOGFSM_SHARED_LOGS;
  const std::string raw = folder + "/sources/stackar_trace.txt";
  const std::string twin = folder + "/stackar.txt";
  if (!std::filesystem::exists(raw) || !std::filesystem::exists(twin)) {
    GTEST_SKIP() << "no " << raw;
  }
  read_options options;
  options.regex = {R"(^.+StackAr/DataStructures/StackAr\.(?P<event>[^.]+)\..*$)"};
  options.separator = R"(^.+ c .*<init>.*$)";
  log_source source;
  ASSERT_TRUE(open_log_source(raw, options, source).ok());
  event_log log;
  read_notes notes;
  const status read = read_log_source(source, log, notes);
  ASSERT_TRUE(read.ok()) << read.message();
  EXPECT_TRUE(notes.empty()) << notes.front();

  std::ifstream twin_file(twin, std::ios::binary);
  const std::string twin_text{std::istreambuf_iterator<char>(twin_file), {}};
  EXPECT_EQ(log.lines(), parse_log(twin_text).lines());
  EXPECT_EQ(log.line_count(), 22u);
}

}  // namespace
}  // namespace logfsm
