#include "checking/replay.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "readers/text_log.h"
#include "support/fixtures.h"

namespace logfsm {
namespace {

using names = std::vector<std::string>;

// A machine from "FROM -> TO" pairs of state texts, the track being TO's
// name; s0(-1) is the initial state.
machine_shape model_of(std::initializer_list<std::pair<std::string, std::string>> edges,
                       std::initializer_list<std::string> accepting) {
  std::vector<std::string> states;
  std::unordered_map<std::string, std::uint32_t> numbers;
  const auto number = [&](const std::string& state) {
    const auto [it, added] =
        numbers.try_emplace(state, static_cast<std::uint32_t>(numbers.size()));
    if (added) states.push_back(state);
    return it->second;
  };
  number("s0(-1)");
  std::vector<std::pair<std::uint32_t, std::uint32_t>> transitions;
  for (const auto& [from, to] : edges) transitions.emplace_back(number(from), number(to));
  std::vector<std::uint32_t> accepting_numbers;
  for (const std::string& state : accepting) accepting_numbers.push_back(number(state));
  return testing::shape_of_texts(states, transitions, accepting_numbers);
}

check_result check_text(const machine_shape& model, std::string_view log) {
  return check_log(compile_model(model), parse_log(log));
}

// Order, then pay or cancel; paying may be repeated.
machine_shape shop() {
  return model_of({{"s0(-1)", "order(0)"},
                   {"order(0)", "pay(0)"},
                   {"order(0)", "cancel(0)"},
                   {"pay(0)", "pay(0)"},
                   {"pay(0)", "ship(0)"}},
                  {"ship(0)", "cancel(0)"});
}

TEST(ReplayTest, AcceptedTracesLeaveNoRecord) {
  const check_result result =
      check_text(shop(), "order;cancel;\norder;pay;ship;\norder;pay;pay;pay;ship;\n");
  EXPECT_EQ(result.traces, 3u);
  EXPECT_TRUE(result.rejected.empty());
}

TEST(ReplayTest, FirstEventNotAllowedIsReportedWithTheAllowedOnesInNameOrder) {
  const check_result result =
      check_text(shop(), "order;order;pay;\norder;pay;zzz;\nship;\n");
  ASSERT_EQ(result.rejected.size(), 3u);
  const rejected_trace& first = result.rejected[0];
  EXPECT_EQ(first.line, 1u);
  EXPECT_EQ(first.reason, rejection_reason::event_not_allowed);
  EXPECT_EQ(first.position, 2u);
  EXPECT_EQ(first.event, "order");
  EXPECT_EQ(first.before, names{"order"});
  EXPECT_EQ(first.allowed, (names{"cancel", "pay"}));
  // A name no transition tracks.
  EXPECT_EQ(result.rejected[1].event, "zzz");
  EXPECT_EQ(result.rejected[1].allowed, (names{"pay", "ship"}));
  // At the start: only the initial state's events.
  EXPECT_EQ(result.rejected[2].position, 1u);
  EXPECT_EQ(result.rejected[2].before, names{});
  EXPECT_EQ(result.rejected[2].allowed, names{"order"});
}

TEST(ReplayTest, TraceEndingOutsideAnAcceptingStateIsRejectedAtItsEnd) {
  const check_result result = check_text(shop(), "order;pay;pay;\n\n");
  ASSERT_EQ(result.rejected.size(), 2u);
  EXPECT_EQ(result.rejected[0].reason, rejection_reason::non_accepting_end);
  EXPECT_EQ(result.rejected[0].position, 3u);
  EXPECT_EQ(result.rejected[0].event, "");
  EXPECT_EQ(result.rejected[0].allowed, (names{"pay", "ship"}));
  // The empty line is an empty trace, ending in the initial state.
  EXPECT_EQ(result.rejected[1].line, 2u);
  EXPECT_EQ(result.rejected[1].position, 0u);
  EXPECT_EQ(result.rejected[1].allowed, names{"order"});
}

TEST(ReplayTest, ContextQuotesOnlyTheLastEventsBeforeTheRejection) {
  const check_result result = check_text(shop(), "order;pay;pay;pay;pay;order;\n");
  ASSERT_EQ(result.rejected.size(), 1u);
  EXPECT_EQ(result.rejected[0].position, 6u);
  EXPECT_EQ(result.rejected[0].before, (names{"pay", "pay", "pay"}));
}

TEST(ReplayTest, DeadEndAllowsNothing) {
  const check_result result =
      check_text(model_of({{"s0(-1)", "a(0)"}, {"s0(-1)", "b(0)"}}, {"b(0)"}), "a;\n");
  ASSERT_EQ(result.rejected.size(), 1u);
  EXPECT_EQ(result.rejected[0].allowed, names{});
}

// Two states of event "a" after the start: one continues with b, the other
// with c, and only the second is accepting.
machine_shape forked() {
  return model_of({{"s0(-1)", "a(0)"},
                   {"s0(-1)", "a(1)"},
                   {"a(0)", "b(0)"},
                   {"a(1)", "c(0)"},
                   {"c(0)", "c(0)"}},
                  {"a(1)", "b(0)", "c(0)"});
}

TEST(ReplayTest, NondeterministicMachineFollowsEveryPath) {
  const check_result result = check_text(forked(), "a;\na;b;\na;c;c;\na;d;\na;b;b;\n");
  EXPECT_EQ(result.traces, 5u);
  ASSERT_EQ(result.rejected.size(), 2u);
  // After "a" either branch may continue: the allowed events are the union.
  EXPECT_EQ(result.rejected[0].line, 4u);
  EXPECT_EQ(result.rejected[0].allowed, (names{"b", "c"}));
  // Once on the b branch, the c branch is gone.
  EXPECT_EQ(result.rejected[1].line, 5u);
  EXPECT_EQ(result.rejected[1].position, 3u);
  EXPECT_EQ(result.rejected[1].allowed, names{});
}

// The runs that count, step by step: of an accepted trace only its
// accepting runs, of a rejected one every run up to where it stopped.
TEST(ReplayTest, RunsGiveTransitionsPerStepAndStatesPerPosition) {
  using list = std::vector<std::uint32_t>;
  const machine_shape model = forked();  // states: s0, a(0), a(1), b(0), c(0)
  const replay_machine machine = compile_model(model);
  struct expected_runs {
    std::string log;
    std::vector<list> steps;
    std::vector<list> positions;
  };
  const expected_runs cases[] = {
      {"a;c;c;\n", {{1}, {3}, {4}}, {{0}, {2}, {4}, {4}}},
      {"a;\n", {{1}}, {{0}, {2}}},                  // only a(1) accepts
      {"a;d;\n", {{0, 1}}, {{0}, {1, 2}}},          // stopped in both copies of a
      {"a;b;b;\n", {{0}, {2}}, {{0}, {1}, {3}}},    // stopped in b(0)
  };
  for (const expected_runs& c : cases) {
    const event_log log = parse_log(c.log);
    std::vector<std::uint32_t> events;
    for (const std::uint32_t n : log.line(0)) events.push_back(event_number(machine, log.names()[n]));
    const trace_replay replay = replay_trace(machine, events, replay_detail::runs);
    ASSERT_EQ(replay.taken, c.steps.size()) << c.log;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      const auto at = replay.transitions_at(i);
      EXPECT_EQ(list(at.begin(), at.end()), c.steps[i]) << c.log << " step " << i;
    }
    for (std::size_t p = 0; p < c.positions.size(); ++p) {
      const auto at = replay.states_at(p);
      EXPECT_EQ(list(at.begin(), at.end()), c.positions[p]) << c.log << " position " << p;
    }
  }
}

TEST(ReplayTest, RepeatedTransitionsInTheFileCountOnce) {
  machine_shape model = model_of({{"s0(-1)", "a(0)"}, {"s0(-1)", "b(0)"}}, {"a(0)"});
  model.transitions.push_back(model.transitions[0]);
  const replay_machine machine = compile_model(model);
  EXPECT_EQ(machine.edges.size(), 2u);
  const trace_replay replay =
      replay_trace(machine, std::vector<std::uint32_t>{kUnknownEvent});
  EXPECT_FALSE(replay.accepted);
  EXPECT_EQ(replay.allowed, (std::vector<std::uint32_t>{0, 1}));
}

TEST(ReplayTest, AcceptingInitialStateAcceptsTheEmptyTrace) {
  machine_shape model = model_of({{"s0(-1)", "a(0)"}}, {"a(0)"});
  model.accepting.push_back(model.initial[0]);
  EXPECT_TRUE(check_text(model, "\nno event here\n").rejected.empty());
}

TEST(ReplayTest, EventNamesAreComparedAsBytes) {
  const std::string odd("\xff\0;", 2);
  const machine_shape model =
      model_of({{"s0(-1)", odd + "(0)"}, {"s0(-1)", "A(0)"}}, {odd + "(0)"});
  const check_result result =
      check_text(model, odd + ";\n" + std::string("\xff;", 2) + "\n");
  ASSERT_EQ(result.rejected.size(), 1u);
  EXPECT_EQ(result.rejected[0].line, 2u);
  EXPECT_EQ(result.rejected[0].allowed, (names{"A", odd}));  // unsigned byte order
}

}  // namespace
}  // namespace logfsm
