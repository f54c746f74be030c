#include "readers/csv_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "readers/text_log.h"
#include "support/read_bytes.h"

namespace logfsm {
namespace {

using testing::read_bytes;

struct csv_case {
  std::string csv;
  raw_traces traces;
  read_options options = {};
  read_notes notes = {};
};

void expect_reads(const csv_case& c) {
  SCOPED_TRACE(::testing::PrintToString(c.csv));
  const testing::read_outcome got = read_bytes(read_csv_log, c.csv, c.options);
  ASSERT_TRUE(got.result.ok()) << got.result.message();
  EXPECT_EQ(got.traces, c.traces);
  EXPECT_EQ(got.notes, c.notes);
}

TEST(CsvLogTest, ReadsQuotedFieldsLineEndsAndSloppyExports) {
  const csv_case cases[] = {
      {"case,activity\n2,a\n1,b\n2,c\n", {{"a", "c"}, {"b"}}},
      {"case,activity\n1,\"b,c\"\n1,\"say \"\"hi\"\"\"\n1,\"\"\n",
       {{"b,c", "say \"hi\"", ""}}},
      {"case,activity\n1,\"x\ny\"\n1,\"p\r\nq\"\n", {{"x\ny", "p\r\nq"}}},
      {"\"case\",\"activity\"\r\n\"1\",a\r\n2,b\r\n", {{"a"}, {"b"}}},
      {"case,activity\r1,a\r2,b", {{"a"}, {"b"}}},
      {"\xEF\xBB\xBF"
       "case,activity\n1,a\n",
       {{"a"}}},
      {"case,activity\n1,a\"b\n1,\"a\"b c\n1,\"a\"\"b\"x\"y\n",
       {{"a\"b", "ab c", "a\"bx\"y"}}},
      {"\n\ncase,activity\n\n1,a\r\n\r\n\r1,b\n\n", {{"a", "b"}}},
      {"case,activity,x\n1\n1,a,,extra,more\n1,,\n", {{"", "a", ""}}},
      {"case,activity,\n1,a,", {{"a"}}},
      {"case,activity\n", {}},
      {"", {}},
  };
  for (const csv_case& c : cases) expect_reads(c);
}

TEST(CsvLogTest, DetectsTheDelimiterFromTheHeaderUnlessGiven) {
  read_options semicolon, colon, comma, tied, single;
  semicolon.delimiter = ';';
  colon.delimiter = ':';
  comma.delimiter = ',';
  tied.activity_columns = {"activity;event"};
  single.case_column = "x";
  single.activity_columns = {"X"};
  const csv_case cases[] = {
      {"case;activity\n1;a,b\n", {{"a,b"}}},
      {"case\tactivity\n1\ta;b\n", {{"a;b"}}},
      {"case|activity\n1|a\t\n", {{"a\t"}}},
      {"case;activity;x,y\n1;a;b,c\n", {{"a"}}},
      {"case;activity;\"x,y,z\"\n1;a;b\n", {{"a"}}},  // quoted commas do not count
      {"case,activity;event\n1,a;b\n", {{"a;b"}}, tied},
      {"x\na;b\nc|d\n", {{"a;b"}, {"c|d"}}, single},
      {"case;concept:name;x,y,z,w\n1;a,b;q\n", {{"a,b"}}, semicolon},
      {"case:activity\n1:a,b\n", {{"a,b"}}, colon},
      {"case,activity,x;y;z;w\n1,a;b\n", {{"a;b"}}, comma},
  };
  for (const csv_case& c : cases) expect_reads(c);
}

TEST(CsvLogTest, FindsColumnsByTheirUsualNamesOrAsGiven) {
  read_options named, several;
  named.case_column = " RESOURCE";
  named.activity_columns = {"concept:name"};
  named.timestamp_column = "when";
  several.activity_columns = {"concept:name", "lifecycle", "concept:name"};
  const csv_case cases[] = {
      {" Case_ID ,\tActivity ,Timestamp\n1,b,2020-01-02\n1,a,2020-01-01\n", {{"a", "b"}}},
      {"case id,activity_name,complete timestamp\n1,b,2020-01-02\n1,a,2020-01-01\n",
       {{"a", "b"}}},
      {"caseid,event,time\n1,b,2020-01-02\n1,a,2020-01-01\n", {{"a", "b"}}},
      {"case,CASE:CONCEPT:NAME,event,concept:name,timestamp,time:timestamp\n"
       "x,1,e,b,2020-01-01,2020-01-02\nx,1,e,a,2020-01-02,2020-01-01\n",
       {{"a", "b"}}},
      {"case:concept:name,concept:name,resource,when\n"
       "1,a,r,2020-01-02\n1,b,r,2020-01-01\n2,c,s,2020-01-01\n",
       {{"b", "a"}, {"c"}},
       named},
      {"case,concept:name,lifecycle\n1,a,start\n1,a,\n",
       {{"a+start+a", "a++a"}},
       several},
  };
  for (const csv_case& c : cases) expect_reads(c);
}

TEST(CsvLogTest, SortsEachCaseStablyByInstantWhenEveryTimestampParses) {
  read_options unsorted, layout, layout_unsorted;
  unsorted.no_sort = true;
  layout.timestamp_format = "%d/%m/%Y %H:%M";
  layout_unsorted = layout;
  layout_unsorted.no_sort = true;
  const std::string zones =
      "case,activity,time:timestamp\n1,b,2020-01-01T10:00:00+02:00\n"
      "1,a,2020-01-01T09:30:00+01:00\n1,c,2020-01-01T09:00:00.5+01:00\n"
      "1,d,2020-01-01 08:00:00.5Z\n1,e,2020-01-01 07:00:00.25-01:00\n";
  const std::string day_first =
      "case,activity,time\n1,b,1/2/2020 10:00\n1,a,2/1/2020 10:00\n";
  const csv_case cases[] = {
      {zones, {{"b", "e", "c", "d", "a"}}},
      {zones, {{"b", "a", "c", "d", "e"}}, unsorted},
      {day_first, {{"a", "b"}}, layout},
      {day_first, {{"b", "a"}}},  // as ISO dates nothing parses
      {day_first, {{"b", "a"}}, layout_unsorted},
      {"case,activity\n1,b\n1,a\n", {{"b", "a"}}},
      {"case,activity,time\n1,b,\n1,a,\n", {{"b", "a"}}, unsorted},
  };
  for (csv_case c : cases) {
    if (c.csv == day_first && c.options.timestamp_format.empty()) {
      c.notes = {
          "1 case kept in file order because a timestamp did not parse (line 2, "
          "\"1/2/2020 10:00\")"};
    }
    expect_reads(c);
  }
}

TEST(CsvLogTest, NotesRowsWithoutACaseAndCasesKeptInFileOrder) {
  const std::string long_time(50, '9');
  const std::string rows =
      "case,activity,time\n1,a,2020-01-01\n,b,2020-01-01\n2,c,2020-01-02\n"
      "1,d,2019-12-31\n2,e,\"2020-01\n-01\"\n\"\",f,\n3,g,2020\n3,h,x\n4,i,";
  expect_reads(
      {rows + long_time + "\n",
       {{"d", "a"}, {"c", "e"}, {"g", "h"}, {"i"}},
       {},
       {"2 rows without a case left out (first: line 3)",
        "3 cases kept in file order because a timestamp did not parse (first: line 6, "
        "\"2020-01\\n-01\")"}});
  expect_reads(
      {"case,activity,time\n1,a," + long_time + "\n,b,\n",
       {{"a"}},
       {},
       {"1 row without a case left out (line 3)",
        "1 case kept in file order because a timestamp did not parse (line 2, \"" +
            long_time.substr(0, 40) + "...\")"}});
}

// Each case's value is its trace's case id; every row's time is kept in
// microseconds, also in a case kept in file order and with no_sort.
TEST(CsvLogTest, KeepsCaseValuesAsCaseIdsAndTimes) {
  read_options unsorted;
  unsorted.no_sort = true;
  const std::string csv =
      "case,activity,time\nc2,a,2020-01-01T00:00:00.0000019+01:00\nc1,b,x\nc2,c,\n"
      "c1,d,1970-01-01\n";
  for (const read_options& options : {read_options{}, unsorted}) {
    const testing::read_outcome got = read_bytes(read_csv_log, csv, options);
    EXPECT_EQ(got.case_ids, (std::vector<std::string>{"c2", "c1"}));
    EXPECT_EQ(got.times, (std::vector<std::vector<std::string>>{
                             {"2019-12-31T23:00:00.000001Z", "-"},
                             {"-", "1970-01-01T00:00:00.000000Z"}}));
  }
  EXPECT_TRUE(read_bytes(read_csv_log, "case,activity\n1,a\n").times.empty());
}

struct error_case {
  std::string csv;
  std::string message;
  read_options options = {};
  status_code code = status_code::bad_log;
};

TEST(CsvLogTest, FailsWithOneLineThatSaysWhereAndWhat) {
  read_options case_named, activity_named, time_named, quote_delimiter;
  case_named.case_column = "cid";
  activity_named.activity_columns = {"activity", "Role\n"};
  time_named.timestamp_column = "when";
  time_named.no_sort = true;
  quote_delimiter.delimiter = '"';
  std::string wide;
  for (int i = 0; i < 25; ++i) wide += (i > 0 ? ",c" : "c") + std::to_string(i);
  const error_case cases[] = {
      {"case,activity\n1,\"a\n", "line 2, column 3: a quoted field is not closed"},
      {"case,activity\n1,\"a\nb\"\n\n2,x,\"open\n",
       "line 5, column 5: a quoted field is not closed"},
      {"case,activity\r\n\r\n1,a\r2,\"b\r",
       "line 4, column 3: a quoted field is not closed"},
      {"\xEF\xBB\xBF"
       "case,\"activity\n",
       "line 1, column 6: a quoted field is not closed"},
      {"\"case;activity\n1;a\n", "line 1, column 1: a quoted field is not closed"},
      {"id,activity\n",
       "line 1: no case column in the header: id, activity (name one with "
       "--case-column)"},
      {"\n\ncase,act\n",
       "line 3: no activity column in the header: case, act (name one with "
       "--activity-column)"},
      {"\"id\nx\", ,\"\"\"\"\n",
       "line 1: no case column in the header: id\\nx, \"\", \" (name "
       "one with --case-column)"},
      {wide + "\n",
       "line 1: no case column in the header: c0, c1, c2, c3, c4, c5, c6, c7, c8, "
       "c9, c10, c11, c12, c13, c14, c15, c16, c17, c18, c19, ... (name one with "
       "--case-column)"},
      {std::string(65536, ',') + "\n", "line 1: the header has more than 65536 columns"},
      {"case,activity\n", "no column \"cid\" in the header: case, activity", case_named},
      {"case,activity\n", "no column \"Role\\n\" in the header: case, activity",
       activity_named},
      {"case,activity\n", "no column \"when\" in the header: case, activity", time_named},
      {"case,activity\n", "the delimiter cannot be a quote or a line end",
       quote_delimiter, status_code::bad_argument},
  };
  for (const error_case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.csv));
    const testing::read_outcome got = read_bytes(read_csv_log, c.csv, c.options);
    EXPECT_EQ(got.result.code(), c.code);
    EXPECT_EQ(got.result.message(), c.message);
  }
}

// Records longer than the reader's chunks, and line ends cut by a chunk's
// end, read as when held whole; lines are counted across them.
TEST(CsvLogTest, ReadsRecordsAcrossChunksOfAnySize) {
  std::string csv = "case,activity\r\n";
  raw_traces expected(1);
  for (int i = 0; i < 30000; ++i) {
    const std::string name = "event " + std::to_string(i % 97);
    csv += i % 3 == 0 ? "1,\"" + name + "\"\r\n" : "1," + name + "\r\n";
    expected[0].push_back(name);
  }
  const std::string long_name =
      std::string(150000, 'x') + "\"\n" + std::string(150000, 'y');
  csv +=
      "2,\"" + std::string(150000, 'x') + "\"\"\n" + std::string(150000, 'y') + "\"\r\n";
  expected.push_back({long_name});
  EXPECT_EQ(read_bytes(read_csv_log, csv).traces, expected);
  const testing::read_outcome open = read_bytes(read_csv_log, csv + "3,x\n4,\"z");
  EXPECT_EQ(open.result.message(), "line 30005, column 3: a quoted field is not closed");
}

// The CSV exports of two shared logs read as their converted twins.
TEST(CsvLogTest, ReadsRealExportsAsTheirConvertedTwins) {
  const std::filesystem::path logs(LOGFSM_SHARED_LOGS);
  const std::pair<const char*, const char*> pairs[] = {
      {"sources/roadtraffic100traces.csv", "roadtraffic100.txt"},
      {"sources/running-example.csv", "running_example.txt"},
  };
  for (const auto& [csv, twin] : pairs) {
    SCOPED_TRACE(csv);
    if (!std::filesystem::exists(logs / csv) || !std::filesystem::exists(logs / twin)) {
      GTEST_SKIP() << "no " << (logs / csv);
    }
    log_source source;
    ASSERT_TRUE(open_log_source((logs / csv).string(), {}, source).ok());
    event_log log;
    read_notes notes;
    const status read = read_log_source(source, log, notes);
    ASSERT_TRUE(read.ok()) << read.message();
    std::ifstream file(logs / twin, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_EQ(log.lines(), parse_log(text.str()).lines());
    EXPECT_EQ(notes, read_notes{});
  }
}

}  // namespace
}  // namespace logfsm
