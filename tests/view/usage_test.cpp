#include "view/usage.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "readers/text_log.h"
#include "support/fixtures.h"

namespace logfsm {
namespace {

machine_shape model_of(const std::vector<std::string>& states,
                       const std::vector<std::pair<std::uint32_t, std::uint32_t>>& transitions,
                       const std::vector<std::uint32_t>& accepting) {
  return testing::shape_of_texts(states, transitions, accepting);
}

// Every run of `events` from the initial states, one transition index per
// step, by plain enumeration; `on_run` sees each complete one.
void for_each_run(const machine_shape& model, const std::vector<std::string>& events,
                  const std::function<void(const std::vector<std::uint32_t>&)>& on_run) {
  std::vector<std::uint32_t> run;
  std::function<void(std::uint32_t, std::size_t)> walk = [&](std::uint32_t state,
                                                            std::size_t i) {
    if (i == events.size()) {
      on_run(run);
      return;
    }
    for (std::uint32_t t = 0; t < model.transitions.size(); ++t) {
      const shape_transition& m = model.transitions[t];
      if (m.from != state || model.track(m) != events[i]) continue;
      run.push_back(t);
      walk(m.to, i + 1);
      run.pop_back();
    }
  };
  for (const std::uint32_t s : model.initial) walk(s, 0);
}

// What plain enumeration says a trace uses: the transitions of its
// accepting runs (none when it has none).
std::set<std::uint32_t> used_by(const machine_shape& model, const std::vector<std::string>& events) {
  std::set<std::uint32_t> used;
  for_each_run(model, events, [&](const std::vector<std::uint32_t>& run) {
    const std::uint32_t end = run.empty() ? model.initial[0] : model.transitions[run.back()].to;
    if (std::find(model.accepting.begin(), model.accepting.end(), end) == model.accepting.end())
      return;
    used.insert(run.begin(), run.end());
  });
  return used;
}

machine_usage usage_of(const machine_shape& model, const std::string& log_text) {
  return count_usage(model, compile_model(model), parse_log(log_text), 20);
}

// Branches on "b" after "a"; only the upper branch accepts after "c"; a
// self-loop on "c".
const machine_shape kBranches =
    model_of({"s0(-1)", "a(0)", "b(0)", "b(1)", "c(0)", "c(1)"},
             {{0, 1}, {1, 2}, {1, 3}, {2, 4}, {3, 5}, {4, 4}, {5, 5}}, {4, 3});

TEST(UsageTest, CountsAcceptingRunsOnceAndRejectedTracesNowhere) {
  const machine_usage usage =
      usage_of(kBranches, "a;b;c;c;\na;b;\na;b;c;\nx;\na;\na;b;\ny;\n");
  // Lines 1 and 3 accept only through b(0), lines 2 and 6 only in b(1).
  const std::vector<std::size_t> transition_traces = {4, 2, 2, 2, 0, 1, 0};
  for (std::size_t t = 0; t < transition_traces.size(); ++t) {
    EXPECT_EQ(usage.transitions[t].traces, transition_traces[t]) << t;
  }
  EXPECT_EQ(usage.transitions[0].examples, (std::vector<std::size_t>{1, 2, 3, 6}));
  const std::vector<std::size_t> state_traces = {4, 4, 2, 2, 2, 0};
  for (std::size_t s = 0; s < state_traces.size(); ++s) {
    EXPECT_EQ(usage.states[s].traces, state_traces[s]) << s;
  }
  EXPECT_EQ(usage.accepted, 4u);
  // Rejected: "x" at once (no run), "a" ends in a state that is not
  // accepting (its run up to there).
  ASSERT_FALSE(usage.traces[3].accepted);
  EXPECT_EQ(usage.traces[3].rejection.event, "x");
  EXPECT_TRUE(usage.runs[usage.traces[3].run].empty());
  EXPECT_EQ(usage.traces[4].rejection.reason, rejection_reason::non_accepting_end);
  EXPECT_EQ(usage.runs[usage.traces[4].run], (std::vector<std::uint32_t>{0}));
  // Identical traces share their run.
  EXPECT_EQ(usage.traces[5].run, usage.traces[1].run);
  EXPECT_EQ(usage.runs[usage.traces[1].run], (std::vector<std::uint32_t>{0, 2}));
  // Variants by count, then first line; names unknown to the machine ("x",
  // "y") stay apart.
  std::vector<std::vector<std::size_t>> variant_lines;
  for (const log_variant& v : usage.variants) variant_lines.push_back(v.lines);
  EXPECT_EQ(variant_lines, (std::vector<std::vector<std::size_t>>{{2, 6}, {1}, {3}, {4}, {5}, {7}}));
  EXPECT_EQ(usage.variants[0].events, (std::vector<std::uint32_t>{0, 1}));
}

// Random small nondeterministic machines and traces: the counts equal
// those of enumerating every run.
TEST(UsageTest, AgreesWithEnumeratingEveryRun) {
  std::mt19937 random(5);
  const std::vector<std::string> names = {"a", "b", "c"};
  std::size_t accepted = 0;
  for (int round = 0; round < 200; ++round) {
    std::vector<std::string> states = {"s0(-1)"};
    for (int i = 0; i < 5; ++i) states.push_back(names[random() % 3] + "(" + std::to_string(i) + ")");
    std::vector<std::pair<std::uint32_t, std::uint32_t>> transitions;
    for (int t = 0; t < 10; ++t) {
      transitions.emplace_back(static_cast<std::uint32_t>(random() % 6),
                               1 + static_cast<std::uint32_t>(random() % 5));
    }
    std::sort(transitions.begin(), transitions.end());
    transitions.erase(std::unique(transitions.begin(), transitions.end()), transitions.end());
    const machine_shape model = model_of(states, transitions, {1, 3, 5});
    std::string log;
    std::vector<std::vector<std::string>> traces;
    for (int i = 0; i < 8; ++i) {
      traces.emplace_back();
      for (std::size_t n = random() % 5; n > 0; --n) traces.back().push_back(names[random() % 3]);
      for (const std::string& e : traces.back()) log += e + ";";
      log += "\n";
    }
    const machine_usage usage = usage_of(model, log);
    std::vector<std::size_t> expected(model.transitions.size(), 0);
    for (std::size_t i = 0; i < traces.size(); ++i) {
      const std::set<std::uint32_t> used = used_by(model, traces[i]);
      EXPECT_EQ(usage.traces[i].accepted, !used.empty());
      if (!usage.traces[i].accepted) continue;
      ++accepted;
      EXPECT_EQ(std::set<std::uint32_t>(usage.runs[usage.traces[i].run].begin(),
                                        usage.runs[usage.traces[i].run].end()),
                used);
      for (const std::uint32_t t : used) ++expected[t];
    }
    for (std::size_t t = 0; t < expected.size(); ++t) {
      EXPECT_EQ(usage.transitions[t].traces, expected[t]) << "round " << round << " t " << t;
    }
  }
  EXPECT_GT(accepted, 100u);  // the machines accept enough to compare
}

}  // namespace
}  // namespace logfsm
