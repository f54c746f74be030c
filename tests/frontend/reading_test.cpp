// Learning from, checking and converting logs in every format the readers
// read, through the whole program.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "readers/log_source.h"
#include "readers/regex_log.h"
#include "readers/xes_log.h"
#include "support/program_run.h"
#include "support/read_bytes.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace logfsm::testing {
namespace {

using strings = std::vector<std::string>;

// One small log, the same traces in every format.
constexpr char kText[] = "start;scan;scan;stop;\nstart;stop;\nstart;scan;pause;scan;stop;\n";

constexpr char kXes[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<log xes.version="1.0" xmlns="http://www.xes-standard.org/">
 <global scope="event"><string key="concept:name" value="start"/></global>
 <trace><event/><event><string key="concept:name" value="scan"/></event>
  <event><string key="concept:name" value="scan"/></event>
  <event><string key="concept:name" value="stop"/></event></trace>
 <trace><event><string key="concept:name" value="start"/></event>
  <event><string key="concept:name" value="stop"/></event></trace>
 <trace><event><string key="concept:name" value="start"/></event>
  <event><string key="concept:name" value="scan"/></event>
  <event><string key="concept:name" value="pause"/></event>
  <event><string key="concept:name" value="scan"/></event>
  <event><string key="concept:name" value="stop"/></event></trace>
</log>
)";

// Cases interleaved and one row out of time order: the reader groups and
// sorts them back into the traces above.
constexpr char kCsv[] =
    "case;activity;time\r\n"
    "c1;start;2024-01-01 10:00\r\n"
    "c2;start;2024-01-01 10:00\r\n"
    "c1;scan;2024-01-01 10:01\r\n"
    "c2;stop;2024-01-01 10:05\r\n"
    "c1;stop;2024-01-01 10:09\r\n"
    "c1;scan;2024-01-01 10:02\r\n"
    "c3;start;2024-01-02T08:00:00Z\r\n"
    "c3;scan;2024-01-02T09:00:00+01:00\r\n"
    "c3;pause;2024-01-02T08:30:00Z\r\n"
    "c3;scan;2024-01-02T08:40:00Z\r\n"
    "c3;\"stop\";2024-01-02T08:50:00Z\r\n";

constexpr char kRaw[] =
    "12:00 new session\n12:01 call start\n12:02 call scan\n12:03 call scan\n"
    "12:04 call stop\n12:05 new session\n12:06 call start\n12:07 call stop\n"
    "12:08 new session\n12:09 call start\n12:10 call scan\n12:11 call pause\n"
    "12:12 call scan\n12:13 call stop\n";

class ReadingTest : public ProgramTest {
 protected:
  // The DOT and JSON files learned from `log` with k = 3.
  std::string learned(const std::string& log, const strings& options = {}) {
    strings args = options;
    args.insert(args.end(), {"--no-render", "-q", "--output-dir", "out", log, "3"});
    const program_run run = this->run(args);
    EXPECT_EQ(run.status, 0) << log << ": " << run.err;
    const std::string stem = std::filesystem::path(log).filename().string();
    const std::string base = "out/" + stem.substr(0, stem.find('.')) + "_out_3";
    return read(base + ".dot") + read(base + ".json");
  }
};

// Learning from a log in any format gives the files that learning from its
// converted text gives, and from the same traces written by hand.
TEST_F(ReadingTest, EveryFormatLearnsWhatItsConversionLearns) {
  write("plain.txt", kText);
  write("x.xes", kXes);
  write("t.csv", kCsv);
  write("session.log", kRaw);
  const strings raw_options = {"--regex", R"(\S+ call (?P<event>\w+))", "--separator",
                               R"(.* new session)"};
  const struct {
    std::string log;
    strings options;
    bool readable;
  } cases[] = {{"plain.txt", {}, true},
               {"x.xes", {}, reads_xes()},
               {"t.csv", {}, true},
               {"session.log", raw_options, reads_regex_logs()}};
  const std::string expected = learned("plain.txt");
  ASSERT_FALSE(expected.empty());
  ASSERT_EQ(this->run({"--no-render", "-q", "--output-dir", "out", "plain.txt", "2"}).status, 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.log);
    if (!c.readable) continue;  // a build without the format's library
    strings convert = {"convert", "-q"};
    convert.insert(convert.end(), c.options.begin(), c.options.end());
    convert.insert(convert.end(), {c.log, "converted.txt"});
    const program_run run = this->run(convert);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(read("converted.txt"), kText);
    EXPECT_EQ(learned(c.log, c.options), expected);
    EXPECT_EQ(learned("converted.txt"), expected);
    // check replays the same traces.
    strings check = {"check"};
    check.insert(check.end(), c.options.begin(), c.options.end());
    check.insert(check.end(), {"out/plain_out_2.json", c.log});
    const program_run replayed = this->run(check);
    EXPECT_EQ(replayed.status, 0) << replayed.err;
    EXPECT_EQ(replayed.out, "accepted 3 of 3 traces (100.0%)\n");
  }
}

// The bundled examples, read as the README reads them, hold the traces of
// examples/orders.txt.
TEST_F(ReadingTest, TheBundledExamplesConvertToTheTextExample) {
  const std::string examples = LOGFSM_EXAMPLES;
  const struct {
    strings args;
    bool readable;
  } cases[] = {
      {{examples + "/orders.csv"}, true},
      {{"--lifecycle", "complete", examples + "/orders.xes"}, reads_xes()},
      {{"--regex", R"(^\S+ \S+ INFO +\[order (?P<case>\d+)\] (?P<event>.+) \(by \w+\)$)",
        "--skip", ".* DEBUG .*", examples + "/orders.log"},
       reads_regex_logs()},
  };
  for (const auto& [args, readable] : cases) {
    if (!readable) continue;
    strings convert = {"convert", "-q"};
    convert.insert(convert.end(), args.begin(), args.end());
    convert.push_back("-");
    const program_run run = this->run(convert);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, read_file(examples + "/orders.txt")) << args.back();
  }
}

TEST_F(ReadingTest, ConvertWritesWhatTheTextFormatCanHoldAndSaysWhatChanged) {
  write("odd.csv", "case,activity\n1,\"a;b\"\n1,\"line\nbreak\"\n2,a;b\n,lost\n");
  const program_run run = this->run({"convert", "odd.csv", "-"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "a_b;line_break;\na_b;\n");
  EXPECT_EQ(run.err,
            "logfsm convert: odd.csv: 1 row without a case left out (line 6)\n"
            "logfsm convert: 2 event names held \";\", CR or LF, written with \"_\" in their "
            "place\n"
            "logfsm convert: odd.csv: 2 traces, 3 events, 2 event names\n");
}

// Every failure names its file, writes nothing, and has its exit status.
TEST_F(ReadingTest, RefusesWhatItCannotReadAndWritesNothing) {
  write("broken.xes", "<log><trace><event></trace></log>");
  write("nocase.csv", "when,what\n1,a\n");
  write("plain.txt", kText);
  const struct {
    strings args;
    int status;
    std::string err_start;
    bool applies = true;  // false in a build without the format's library
  } cases[] = {
      {{"broken.xes", "3"}, 4, "logfsm: broken.xes: line 1, column ", reads_xes()},
      {{"nocase.csv", "3"},
       4,
       "logfsm: nocase.csv: line 1: no case column in the header"},
      {{"--input-format", "json", "plain.txt", "3"},
       2,
       "logfsm: unknown input format: json"},
      {{"--input-format", "regex", "plain.txt", "3"},
       2,
       "logfsm: --input-format regex needs"},
      {{"--regex", "(?P<event>", "plain.txt", "3"},
       2,
       "logfsm: plain.txt: --regex",
       reads_regex_logs()},
      {{"--delimiter", "ab", "plain.txt", "3"}, 2, "logfsm: --delimiter takes one"},
      {{"convert", "missing.xes", "out.txt"},
       4,
       "logfsm convert: missing.xes: cannot open"},
      {{"convert", "broken.xes", "out.txt"},
       4,
       "logfsm convert: broken.xes: line 1",
       reads_xes()},
      {{"convert", "plain.txt"}, 2, "logfsm convert: IN and OUT are needed"},
      {{"convert", "plain.txt", "no/such/dir/out.txt"},
       3,
       "logfsm convert: Cannot write output file: no/such/dir/out.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    if (!c.applies) continue;
    const strings before = files();
    const program_run run = this->run(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_TRUE(run.err.starts_with(c.err_start)) << run.err;
    EXPECT_EQ(files(), before);
  }
}

// The traces of `name` as read with `options` in this process, with their
// case ids and times.
read_outcome read_log_file(const std::string& name, const read_options& options) {
  log_source source;
  read_outcome got;
  got.result = open_log_source(name, options, source);
  event_log log;
  if (got.result.ok()) got.result = read_log_source(source, log, got.notes);
  got.traces = log.lines();
  describe_cases_and_times(log, got);
  return got;
}

// Converted to CSV and read back, every format gives the same traces (empty
// ones left out), case ids (traces without one of their own numbered) and
// times: read unsorted always, sorted too when the traces were in time order.
TEST_F(ReadingTest, ConvertingToCsvKeepsTracesCaseIdsAndTimes) {
  write("x.xes",
        "<log><trace><string key=\"concept:name\" value=\"3\"/>"
        "<event><string key=\"concept:name\" value=\"a,&quot;b&quot;\"/>"
        "<date key=\"time:timestamp\" value=\"2024-03-01T10:15:00.1234567+01:00\"/></event>"
        "<event><string key=\"concept:name\" value=\"line&#10;break\"/></event></trace>"
        "<trace/><trace><string key=\"concept:name\" value=\"3\"/><event>"
        "<string key=\"concept:name\" value=\"\"/></event></trace>"
        "<trace><event><string key=\"concept:name\" value=\"c\"/>"
        "<date key=\"time:timestamp\" value=\"1969-12-31T23:59:59.5Z\"/></event></trace>"
        "</log>");
  write("t.csv", kCsv);
  write("s.log", "1 2024-01-01T10:00Z a\n2 x b\n--\n1 2024-01-01T09:00Z c\n");
  write("plain.txt", "a;b;\n\nc;\n");
  read_options sorted_xes, raw;
  sorted_xes.sort_by_time = true;
  raw.regex = {R"((?P<case>\d) (?P<time>\S+) (?P<event>\w+))"};
  raw.separator = "--";
  const struct {
    std::string log;
    strings args;
    read_options options;
    bool sorted;
    std::vector<std::string> ids;
    std::string notes;
    bool readable = true;
  } cases[] = {
      {"x.xes", {"--sort-by-time"}, sorted_xes, true, {"3", "#3", "4"},
       "logfsm convert: x.xes: 2 traces kept in file order because a timestamp did not "
       "parse (first: trace 1, event 2, no time:timestamp)\n"
       "logfsm convert: 1 empty trace left out (trace 2)\n"
       "logfsm convert: 2 traces without a case id of their own written with their "
       "numbers (first: trace 3)\n",
       reads_xes()},
      {"t.csv", {}, {}, true, {"c1", "c2", "c3"}, ""},
      {"s.log", {"--regex", raw.regex[0], "--separator", "--"}, raw, false,
       {"1", "2", "3"},
       "logfsm convert: 1 trace without a case id of its own written with its number "
       "(trace 3)\n",
       reads_regex_logs()},
      {"plain.txt", {}, {}, true, {"1", "3"},
       "logfsm convert: 1 empty trace left out (trace 2)\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.log);
    if (!c.readable) continue;
    strings convert = {"convert", "-q"};
    convert.insert(convert.end(), c.args.begin(), c.args.end());
    convert.insert(convert.end(), {c.log, "out.csv"});
    const program_run run = this->run(convert);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, c.notes);
    read_outcome in = read_log_file(c.log, c.options);
    std::erase(in.traces, std::vector<std::string>{});  // empty traces have no rows
    std::erase(in.times, std::vector<std::string>{});
    read_options unsorted;
    unsorted.no_sort = true;
    for (const read_options& back : {unsorted, read_options{}}) {
      if (!back.no_sort && !c.sorted) continue;
      const read_outcome csv = read_log_file("out.csv", back);
      EXPECT_EQ(csv.traces, in.traces);
      EXPECT_EQ(csv.case_ids, c.ids);
      EXPECT_EQ(csv.times, in.times);
    }
  }
}

#ifndef _WIN32
// Devices and FIFOs cannot be replaced, so convert writes them directly.
TEST_F(ReadingTest, ConvertWritesToDevicesAndFifos) {
  write("plain.txt", "a;b;\n");
  EXPECT_EQ(this->run({"convert", "-q", "plain.txt", "/dev/null"}).status, 0);
  ASSERT_EQ(mkfifo("pipe.csv", 0600), 0);
  std::string got;
  std::thread reader([&got] { got = read_file("pipe.csv"); });
  const program_run run = this->run({"convert", "-q", "plain.txt", "pipe.csv"});
  if (run.status != 0) ::close(::open("pipe.csv", O_WRONLY));  // lets the reader end
  reader.join();
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(got, "case:concept:name,concept:name,time:timestamp\n1,a,\n1,b,\n");
  EXPECT_EQ(files(), (strings{"pipe.csv", "plain.txt"}));
}
#endif

}  // namespace
}  // namespace logfsm::testing
