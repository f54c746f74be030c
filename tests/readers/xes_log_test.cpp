#include "readers/xes_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "readers/text_log.h"
#include "support/read_bytes.h"
#include "support/temp_dir.h"

namespace logfsm {
namespace {

using testing::read_bytes;
using testing::read_outcome;

// An attribute element; `type` does not matter to the reader.
std::string attr(const std::string& key, const std::string& value,
                 const std::string& type = "string") {
  return "<" + type + " key=\"" + key + "\" value=\"" + value + "\"/>";
}
std::string name(const std::string& value) { return attr("concept:name", value); }
std::string life(const std::string& value) { return attr("lifecycle:transition", value); }
std::string at(const std::string& event, const std::string& time) {
  return name(event) + attr("time:timestamp", time, "date");
}
// A log of one trace holding one event per body.
std::string trace(std::initializer_list<std::string> bodies,
                  const std::string& before = "") {
  std::string xml = "<log>" + before + "<trace>";
  for (const std::string& body : bodies) xml += "<event>" + body + "</event>";
  return xml + "</trace></log>";
}

struct xes_case {
  std::string xml;
  raw_traces traces;
  read_notes notes = {};
  read_options options = {};
};

class XesLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!reads_xes()) GTEST_SKIP() << "this build reads no XES files";
  }
  static void expect_reads(const xes_case& c) {
    SCOPED_TRACE(c.xml.substr(0, 200));
    const read_outcome read = read_bytes(read_xes_log, c.xml, c.options);
    ASSERT_TRUE(read.result.ok()) << read.result.message();
    EXPECT_EQ(read.traces, c.traces);
    EXPECT_EQ(read.notes, c.notes);
  }
};

TEST_F(XesLogTest, NamesTheEventsOfTracesByConceptNameOrItsEventGlobal) {
  const std::string nested = "<list key=\"l\"><values>" + name("no") + "</values></list>";
  const xes_case cases[] = {
      {"<log/>", {}},
      {"<?xml version=\"1.0\"?><log><trace/><trace><event>" +
           attr("concept:name", "a", "int") + "</event></trace></log>",
       {{}, {"a"}}},
      {"<x:log xmlns:x=\"u\"><x:trace><x:event><x:id key=\"concept:name\" value=\"a\"/>"
       "</x:event></x:trace></x:log>",
       {{"a"}}},
      {"<log xmlns=\"http://www.xes-standard.org/\">" + trace({name("a")}).substr(5),
       {{"a"}}},
      // Attributes inside attributes, and events that are no trace's
      // children, do not count; nameless events are counted.
      {trace({nested + name("a"),
              "<string key=\"concept:name\" value=\"b\">" + name("m") + "</string>",
              "<container key=\"c\">" + name("no") + "</container>",
              "<x><event>" + name("no") + "</event></x>", name("c") + name("later")},
             "<event>" + name("out") + "</event>"),
       {{"a", "b", "later"}},
       {"2 events without a name left out (first: trace 1, event 3)"}},
      {trace({name("a"), "", "<string key=\"concept:name\"/>"},
             "<global scope=\"trace\">" + name("t") +
                 "</global><global scope=\"event\">" + name("default") + "</global>"),
       {{"a", "default", "default"}}},
      {trace({name("a &amp; &#233;&#x4E2D;")}), {{"a & \xC3\xA9\xE4\xB8\xAD"}}},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + trace({name("\xE9")}),
       {{"\xC3\xA9"}}},
  };
  for (const xes_case& c : cases) expect_reads(c);
}

TEST_F(XesLogTest, ClassifierJoinsKeysAndLifecycleFilters) {
  const std::string log =
      trace({name("a") + life("start"), name("a") + life("Complete"), name("b"),
             attr("org:resource", "r"), life("X")},
            "<global>" + attr("org:resource", "nobody") + "</global>");
  read_options both, resource, complete, life_name;
  both.classifier = {"concept:name", "lifecycle:transition"};
  resource.classifier = {"org:resource", "concept:name"};
  complete.lifecycle = life_name.lifecycle = {"x", "complete"};
  life_name.classifier = {"lifecycle:transition"};
  const xes_case cases[] = {
      {log,
       {{"a+start", "a+Complete", "b+", "+X"}},
       {"1 event without a name left out (trace 1, event 4)"},
       both},
      {log, {{"nobody+a", "nobody+a", "nobody+b", "r+", "nobody+"}}, {}, resource},
      {log,
       {{"a", "b"}},
       {"1 event of other lifecycle transitions left out",
        "2 events without a name left out (first: trace 1, event 4)"},
       complete},
      {trace({life("start"), ""}, "<global>" + life("COMPLETE") + "</global>"),
       {{"COMPLETE"}},
       {"1 event of other lifecycle transitions left out"},
       life_name},
  };
  for (const xes_case& c : cases) expect_reads(c);
}

// A trace is sorted when every event of it has a time that parses, else it
// keeps document order and is counted.
TEST_F(XesLogTest, SortsATraceByTimeOnlyWhenEveryEventHasATime) {
  read_options sort, layout;
  sort.sort_by_time = layout.sort_by_time = true;
  layout.timestamp_format = "%Y/%m/%d %H:%M";
  const std::string untimed = "<trace><event>" + at("b", "2020-01-02") + "</event><event>" +
                              name("none") + "</event><event>" + at("a", "2020-01-01") +
                              "</event></trace>";
  const xes_case cases[] = {
      {trace({at("late", "2020-01-01T12:00:00Z"), at("tie1", "2020-01-01T10:00:00+01:00"),
              at("tie2", "2020-01-01T09:00:00Z"), at("zone", "2020-01-01T10:00:00+02:00")}),
       {{"zone", "tie1", "tie2", "late"}},
       {},
       sort},
      {"<log>" + untimed + "<trace><event>" + at("b", "2020-01-02") + "</event><event>" +
           at("bad", "yesterday") + "</event></trace>" + untimed + "</log>",
       {{"b", "none", "a"}, {"b", "bad"}, {"b", "none", "a"}},
       {"3 traces kept in file order because a timestamp did not parse (first: trace 1, "
        "event 2, no time:timestamp)"},
       sort},
      {trace({at("b", "2020-01-01"), at("bad", "&#9;x"), name("none")}),
       {{"b", "bad", "none"}},
       {"1 trace kept in file order because a timestamp did not parse (trace 1, event 2, "
        "\"\\tx\")"},
       sort},
      {trace({at("b", "2020-01-01"), name("default")},
             "<global>" + attr("time:timestamp", "2000-01-01") + "</global>"),
       {{"default", "b"}},
       {},
       sort},
      {trace({at("b", "2020/01/02 00:00"), at("a", "2020/01/01 23:59")}),
       {{"a", "b"}},
       {},
       layout},
  };
  for (const xes_case& c : cases) expect_reads(c);
}

// The trace's own concept:name is its case id; every event's time is kept,
// sorted or not.
TEST_F(XesLogTest, KeepsTraceNamesAsCaseIdsAndEventTimes) {
  const std::string xml = "<log><trace>" + name("c1") + "<event>" +
                          at("a", "2020-01-01T10:00:00.1234567+01:00") + "</event><event>" +
                          name("b") + "</event></trace><trace><event>" +
                          at("c", "yesterday") + "</event></trace></log>";
  const read_outcome read = read_bytes(read_xes_log, xml);
  EXPECT_EQ(read.case_ids, (std::vector<std::string>{"c1", ""}));
  EXPECT_EQ(read.times, (std::vector<std::vector<std::string>>{
                            {"2020-01-01T09:00:00.123456Z", "-"}, {"-"}}));
  EXPECT_TRUE(read_bytes(read_xes_log, trace({name("a")})).times.empty());
}

TEST_F(XesLogTest, FailsWithThePlaceOfWhatIsNotAnXesLog) {
  std::string deep = "<log>", bomb = "<!DOCTYPE log [<!ENTITY l0 \"lol\">";
  for (int i = 0; i < 10001; ++i) deep += "<a>";
  for (int i = 1; i <= 9; ++i) {
    bomb += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int j = 0; j < 10; ++j) bomb += "&l" + std::to_string(i - 1) + ";";
    bomb += "\">";
  }
  const std::pair<std::string, std::string> cases[] = {
      {"", "line 1, column 1: no element found"},
      {"<log><trace>\n  <event></trace></log>", "line 2, column 12: mismatched tag"},
      {"<log><trace>", "line 1, column 13: no element found"},
      {"\n <events><log/></events>",
       "line 2, column 2: not an XES log: the root element is <events>"},
      {"<x:" + std::string(100, 'l') + "/>",
       "line 1, column 1: not an XES log: the root element is <x:" +
           std::string(62, 'l') + "...>"},
      {deep, "line 1, column 30003: elements nested deeper than 10000"},
      {"<log><!--" + std::string(std::size_t{1} << 24, 'x'),
       "line 1, column 6: a tag, comment or declaration longer than 16 MiB"},
      // No external entity is read, and expansion is bounded.
      {"<!DOCTYPE log [<!ENTITY e SYSTEM \"/etc/hostname\">]>" + trace({name("&e;")}),
       "line 1, column 105: reference to external entity in attribute"},
      {bomb + "]>" + trace({name("&l9;")}),
       "line 1, column 550: limit on input amplification factor (from DTD and entities) "
       "breached"},
  };
  for (const auto& [xml, message] : cases) {
    SCOPED_TRACE(xml.substr(0, 100));
    const read_outcome read = read_bytes(read_xes_log, xml);
    EXPECT_EQ(read.result.code(), status_code::bad_log);
    EXPECT_EQ(read.result.message(), message);
  }
}

// The shared exports read to their converted twins (10_orders has none); a
// gzip stream cut short fails as such.
TEST_F(XesLogTest, ReadsRealExportsAsTheirTwins) {
  const std::string logs = LOGFSM_SHARED_LOGS "/";
  const std::pair<std::string, std::string> twins[] = {
      {"sources/08_receipt.xes.gz", "receipt.txt"},
      {"sources/13_SEPSIS_1t_per_variant.xes.gz", "bench/sepsis.txt"},
      {"sources/15_bpic2020_permit_log_1t_per_variant.xes.gz",
       "bench/bpic2020_permit.txt"},
      {"sources/10_orders.xes.gz", ""},
  };
  const testing::temp_dir dir;
  testing::write_file(dir.file("cut.xes.gz"),
                      testing::read_file(logs + twins[0].first).substr(0, 100000));
  for (const auto& [xes, twin] : twins) {
    if (!reads_gzip() || !std::filesystem::exists(logs + xes)) GTEST_SKIP() << xes;
    log_source source;
    ASSERT_TRUE(open_log_source(logs + xes, {}, source).ok());
    event_log log;
    read_notes notes;
    ASSERT_TRUE(read_log_source(source, log, notes).ok()) << xes;
    EXPECT_EQ(notes, read_notes{});
    if (!twin.empty()) {
      EXPECT_EQ(log.lines(), parse_log(testing::read_file(logs + twin)).lines());
    }
  }
  log_source source;
  event_log log;
  read_notes notes;
  ASSERT_TRUE(open_log_source(dir.file("cut.xes.gz"), {}, source).ok());
  EXPECT_EQ(read_log_source(source, log, notes).message(),
            dir.file("cut.xes.gz") + ": gzip: unexpected end of file");
}

TEST(XesLogWithoutExpatTest, SaysItReadsNoXes) {
  if (reads_xes()) GTEST_SKIP() << "this build reads XES files";
  EXPECT_EQ(read_bytes(read_xes_log, "<log/>").result.message(),
            "this build reads no XES files");
}

}  // namespace
}  // namespace logfsm
