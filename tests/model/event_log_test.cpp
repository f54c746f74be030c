#include "model/event_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace logfsm {
namespace {

constexpr std::int64_t kNone = event_log::no_time;

// Each line's case id and its events' times, "id: t t ...".
std::vector<std::string> cases_and_times(const event_log& log) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < log.line_count(); ++i) {
    std::string line = std::string(log.case_id(i)) + ":";
    for (std::size_t e = 0; e < log.line(i).size(); ++e) {
      const std::int64_t t = log.time(i, e);
      line += " " + (t == kNone ? std::string("-") : std::to_string(t));
    }
    out.push_back(line);
  }
  return out;
}

TEST(EventLogTest, KeepsCaseIdsAndTimesOnlyOnceTheSourceGivesThem) {
  // Ids and times that come late leave the earlier lines and events without.
  event_log log;
  log.add_event("a", kNone);
  log.end_line("");
  EXPECT_FALSE(log.has_case_ids() || log.has_times());
  log.add_event("b", -5);
  log.add_event("a");
  log.end_line("c2");
  log.end_line();
  log.add_event("b", 0);
  log.end_line("c1");
  EXPECT_TRUE(log.has_case_ids() && log.has_times());
  EXPECT_EQ(cases_and_times(log),
            (std::vector<std::string>{": -", "c2: -5 -", ":", "c1: 0"}));
  EXPECT_EQ(log.names(), (std::vector<std::string>{"a", "b"}));

  // Selected lines keep theirs; times only where some selected event has one.
  const std::size_t some[] = {1, 3}, untimed[] = {0, 2};
  const event_log selected = log.select_lines(some);
  EXPECT_EQ(cases_and_times(selected), (std::vector<std::string>{"c2: -5 -", "c1: 0"}));
  EXPECT_EQ(selected.names(), (std::vector<std::string>{"b", "a"}));
  const event_log bare = log.select_lines(untimed);
  EXPECT_FALSE(bare.has_times() || bare.has_case_ids());
  EXPECT_EQ(bare.lines(), (raw_traces{{"a"}, {}}));
}

}  // namespace
}  // namespace logfsm
