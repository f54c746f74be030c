// The start of Graphviz `dot` after a run, seen through a stand-in `dot`
// that records its arguments, its working directory and whether the DOT file
// was there when it started.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "support/e2e_session.h"

namespace logfsm::e2e {
namespace {

using std::chrono::milliseconds;

constexpr std::string_view kLog =
    "start;scan;scan;stop;\n"
    "start;stop;\n"
    "\n"
    "start;scan;pause;scan;stop;\n"
    "scan;start;stop;\n";
constexpr int kLogTraces = 5;

// Long enough for a started stand-in to have left its record.
constexpr milliseconds kSettle{1000};

std::vector<std::string> dot_arguments(const std::string& dot_file) {
  return {dot_file, "-Tpng", "-O"};
}

// Waits for the first start, then a little longer for any further one.
std::vector<render_start> starts_after_settling(const fake_renderer& renderer) {
  renderer.wait_for_starts(1);
  std::this_thread::sleep_for(milliseconds(300));
  return renderer.starts();
}

TEST(EndToEndRenderer, StartsDotOnceOnTheWrittenDotFile) {
  session s;
  s.write("run.txt", kLog);

  const run_outcome run = s.run(answers({"run.txt", "3"}));
  ASSERT_EQ(run.exit_status, 0) << run.out;

  const std::vector<render_start> starts = starts_after_settling(s.renderer());
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].arguments, dot_arguments("run_out_3.dot"));
  EXPECT_EQ(starts[0].working_directory, fs::canonical(s.work()).string());
  EXPECT_TRUE(starts[0].first_argument_was_a_file);
}

TEST(EndToEndRenderer, DotFileNameIsOneArgumentWhateverItHolds) {
  struct naming {
    std::string log;
    std::string dot_file;
  };
  const std::vector<naming> cases = {
      {"My Logs/run log.txt", "My Logs/run log_out_3.dot"},
      {"it's \"quoted\".txt", "it's \"quoted\"_out_3.dot"},
      {"donn\xC3\xA9" "es/\xD0\xB6\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB.txt",
       "donn\xC3\xA9" "es/\xD0\xB6\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB_out_3.dot"},
      {"$HOME `x` *;&|.txt", "$HOME `x` *;&|_out_3.dot"},
      {"back\\slash\\.txt", "back\\slash\\_out_3.dot"},
      {"  two  blanks  .txt", "  two  blanks  _out_3.dot"},
  };
  for (const naming& c : cases) {
    SCOPED_TRACE("log " + c.log);
    session s;
    s.write(c.log, kLog);

    const run_outcome run = s.run(answers({c.log, "3"}));
    ASSERT_EQ(run.exit_status, 0) << run.out;

    const std::vector<render_start> starts = starts_after_settling(s.renderer());
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].arguments, dot_arguments(c.dot_file));
    EXPECT_TRUE(starts[0].first_argument_was_a_file);
  }
}

TEST(EndToEndRenderer, AbsoluteLogNameReachesDotAsTyped) {
  session s;
  s.write("data/run.txt", kLog);
  const std::string log = (s.work() / "data" / "run.txt").string();

  const run_outcome run = s.run(answers({log, "4"}));
  ASSERT_EQ(run.exit_status, 0) << run.out;

  const std::vector<render_start> starts = starts_after_settling(s.renderer());
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].arguments,
            dot_arguments((s.work() / "data" / "run_out_4.dot").string()));
  EXPECT_TRUE(starts[0].first_argument_was_a_file);
}

TEST(EndToEndRenderer, ProgramEndsWithoutWaitingForDot) {
  session s;
  s.write("run.txt", kLog);
  s.renderer().hold();

  const run_outcome run = s.run(answers({"run.txt", "3"}));

  // The stand-in is still waiting for its release, and the program is done.
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_TRUE(run.out.ends_with(kSaved)) << run.out;
  EXPECT_TRUE(s.renderer().starts().empty());
  s.renderer().release();
  EXPECT_EQ(s.renderer().wait_for_starts(1).size(), 1u);
}

TEST(EndToEndRenderer, MissingDotPrintsTheErrorNumberAndTheRunCompletes) {
  session s;
  s.write("run.txt", kLog);

  const run_outcome run = s.run_without_renderer(answers({"run.txt", "3"}));

  EXPECT_EQ(run.out, std::string(kFilePrompt) + std::string(kParameterPrompt) +
                         learning_lines(kLogTraces) + "2\n" + std::string(kSaved));
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(s.files(),
            (std::vector<std::string>{"run.txt", "run_out_3.dot", "run_out_3.json"}));
}

TEST(EndToEndRenderer, NotStartedWhenTheRunWritesNoFiles) {
  struct case_setup {
    std::string what;
    std::string log;
    std::string input;
    bool dot_name_is_a_directory;
  };
  const std::vector<case_setup> cases = {
      {"exit at the file prompt", std::string(kLog), answers({"exit"}), false},
      {"exit at the parameter prompt", std::string(kLog), answers({"run.txt", "exit"}),
       false},
      {"end of input", std::string(kLog), answers({"run.txt"}), false},
      {"log without events", "no events\n", answers({"run.txt", "3"}), false},
      {"output file cannot be written", std::string(kLog), answers({"run.txt", "3"}),
       true},
  };
  for (const case_setup& c : cases) {
    SCOPED_TRACE(c.what);
    session s;
    s.write("run.txt", c.log);
    if (c.dot_name_is_a_directory) s.make_dir("run_out_3.dot");

    const run_outcome run = s.run(c.input);

    EXPECT_FALSE(run.out.ends_with(kSaved)) << run.out;
    EXPECT_TRUE(s.renderer().wait_for_starts(1, kSettle).empty());
  }
}

TEST(EndToEndRenderer, NotStartedWhenOnlyTheJsonFileFails) {
  session s;
  s.write("run.txt", kLog);
  s.write("run_out_3.json", "earlier\n");
  s.make_read_only("run_out_3.json");

  const run_outcome run = s.run(answers({"run.txt", "3"}));

  EXPECT_EQ(run.exit_status, 3);
  EXPECT_TRUE(s.renderer().wait_for_starts(1, kSettle).empty());
}

}  // namespace
}  // namespace logfsm::e2e
