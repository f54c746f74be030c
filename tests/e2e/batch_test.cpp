// `logfsm [options] LOG K` through the real binary: the same files as the
// dialogue, the dialogue's messages on standard error with distinct exit
// statuses, and the options.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "support/e2e_session.h"

namespace logfsm::e2e {
namespace {

constexpr std::string_view kLog =
    "start;scan;scan;stop;\n"
    "start;stop;\n"
    "\n"
    "start;scan;pause;scan;stop;\n";
constexpr int kTraces = 4;

using strings = std::vector<std::string>;

TEST(EndToEndBatch, WritesTheDialoguesBytesAndSummarises) {
  session s;
  s.write("run.txt", kLog);
  ASSERT_EQ(s.run(answers({"run.txt", "3", "exit"})).exit_status, 0);
  const std::string dot = s.read("run_out_3.dot"), json = s.read("run_out_3.json");
  fs::remove(s.work() / "run_out_3.dot");
  fs::remove(s.work() / "run_out_3.json");

  const run_outcome run = s.run_command({"run.txt", "3"});
  ASSERT_EQ(run.exit_status, 0) << run.err;
  EXPECT_EQ(s.read("run_out_3.dot"), dot);
  EXPECT_EQ(s.read("run_out_3.json"), json);
  // Progress lines as in the dialogue (no prompts), then one summary line.
  const std::string progress = learning_lines(kTraces).substr(std::string("Building FSM...\n").size());
  ASSERT_TRUE(run.out.starts_with(progress)) << run.out;
  const std::string summary = run.out.substr(progress.size());
  EXPECT_TRUE(summary.starts_with("run_out_3.dot, run_out_3.json: ")) << summary;
  EXPECT_NE(summary.find(" states, "), std::string::npos);
  EXPECT_NE(summary.find(" transitions, "), std::string::npos);
  EXPECT_NE(summary.find(" accepting states, "), std::string::npos);
  EXPECT_TRUE(summary.ends_with(" s\n")) << summary;
  EXPECT_EQ(run.err, "");
  // The dialogue's start and the batch run's, alike.
  const std::vector<render_start> starts = s.renderer().wait_for_starts(2);
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[0].arguments, (strings{"run_out_3.dot", "-Tpng", "-O"}));
  EXPECT_EQ(starts[1].arguments, starts[0].arguments);
}

TEST(EndToEndBatch, RefusesBadInputWithTheDialoguesMessagesAndDistinctStatuses) {
  session s;
  s.write("run.txt", kLog);
  s.write("run.log", kLog);
  s.write("empty.txt", "\nno events\n");
  struct bad_case {
    strings arguments;
    int status;
    std::string err;
  };
  const std::vector<bad_case> cases = {
      {{"missing.txt", "3"}, 4, "No such file.\n"},
      {{"run.log", "3"}, 2, ".txt file is required\n"},
      {{"run.txt", "x"}, 2, "Invalid argument.\n"},
      {{"run.txt", "1"}, 2, "Parameter must be 2 or more.\n"},
      {{"run.txt", "99999999999"}, 2, "Parameter is out of range.\n"},
      {{"empty.txt", "3"}, 1, "Log is empty or the format is incorrect.\n"},
  };
  for (const bad_case& c : cases) {
    const run_outcome run = s.run_command(c.arguments);
    EXPECT_EQ(run.exit_status, c.status) << c.arguments[0] << ' ' << c.arguments[1];
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(s.files(), (strings{"empty.txt", "run.log", "run.txt"}));
}

TEST(EndToEndBatch, RefusesAWrongCommandLineWithTheUsageLine) {
  session s;
  s.write("run.txt", kLog);
  for (const strings& arguments :
       {strings{"run.txt"}, strings{"run.txt", "3", "4"}, strings{"--frob", "run.txt", "3"},
        strings{"--format", "gif", "run.txt", "3"}, strings{"run.txt", "3", "--format"}}) {
    const run_outcome run = s.run_command(arguments);
    EXPECT_EQ(run.exit_status, 2) << arguments.size();
    EXPECT_TRUE(run.err.starts_with("logfsm: ")) << run.err;
    EXPECT_NE(run.err.find("\nusage: logfsm "), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(s.files(), strings{"run.txt"});
}

TEST(EndToEndBatch, OptionsChooseOutputPlaceFormatRenderingAndQuiet) {
  session s;
  s.write("logs/run.txt", kLog);
  const run_outcome run =
      s.run_command({"--quiet", "--output-dir=out/k3", "--format", "svg", "logs/run.txt", "3"});
  ASSERT_EQ(run.exit_status, 0) << run.err;
  EXPECT_TRUE(run.out.starts_with("out/k3/run_out_3.dot, out/k3/run_out_3.json: ")) << run.out;
  EXPECT_EQ(run.out.find('\n'), run.out.size() - 1);  // the summary alone
  EXPECT_TRUE(s.exists("out/k3/run_out_3.json"));
  const std::vector<render_start> starts = s.renderer().wait_for_starts(1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].arguments, (strings{"out/k3/run_out_3.dot", "-Tsvg", "-O"}));

  ASSERT_EQ(s.run_command({"-q", "--no-render", "logs/run.txt", "4"}).exit_status, 0);
  EXPECT_TRUE(s.exists("logs/run_out_4.dot"));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(s.renderer().starts().size(), 1u);  // no second start
}

TEST(EndToEndBatch, AnOutputFileThatCannotBeWrittenFailsWithStatusThree) {
  session s;
  s.write("run.txt", kLog);
  s.write("blocked", "a file where the output directory should be");
  const run_outcome run = s.run_command({"-q", "--output-dir", "blocked", "run.txt", "3"});
  EXPECT_EQ(run.exit_status, 3);
  EXPECT_EQ(run.err, "Cannot write output file: blocked/run_out_3.dot\n"
                     "Cannot write output file: blocked/run_out_3.json\n");
  EXPECT_EQ(run.out, "");
}

TEST(EndToEndBatch, HelpAndVersion) {
  session s;
  const run_outcome help = s.run_command({"--help"});
  EXPECT_EQ(help.exit_status, 0);
  for (const char* option : {"--no-render", "--format", "--output-dir", "--quiet", "--help",
                             "--version", "check"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  // The manual page describes every option --help lists ("-" is "\-" there).
  const std::string manual = slurp(fs::path(LOGFSM_TEST_DATA) / ".." / ".." / "docs" / "logfsm.1");
  ASSERT_FALSE(manual.empty());
  for (std::size_t at = help.out.find(" -"); at != std::string::npos;
       at = help.out.find(" -", at + 1)) {
    const std::size_t end = help.out.find_first_of(" ,\n]", at + 1);
    std::string option = help.out.substr(at + 1, end - at - 1), in_roff;
    for (const char c : option) in_roff += c == '-' ? std::string("\\-") : std::string(1, c);
    EXPECT_NE(manual.find(in_roff), std::string::npos) << option;
  }
  const run_outcome version = s.run_command({"--version"});
  EXPECT_EQ(version.exit_status, 0);
  EXPECT_TRUE(version.out.starts_with("logfsm ")) << version.out;
}

// On a terminal the progress is one line on standard error, rewritten in
// place; the pipes of the other tests show none of it.
TEST(EndToEndBatch, ShowsALiveProgressLineOnlyOnATerminal) {
  if (std::system("command -v script >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "no `script` to run under a pseudo-terminal";
  }
  session s;
  s.write("run.txt", kLog);
  const std::string command = std::string("'") + LOGFSM_BINARY + "' --no-render run.txt 3";
  const std::string transcript = (s.work() / "transcript").string();
  const std::string shell = "cd '" + s.work().string() + "' && script -qec \"" + command +
                            "\" /dev/null > '" + transcript + "' 2>&1";
  ASSERT_EQ(std::system(shell.c_str()), 0);
  const std::string seen = s.read("transcript");
  EXPECT_NE(seen.find("\rProcessed 4 of 4 traces"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("Processed trace"), std::string::npos) << seen;
  EXPECT_NE(seen.find("run_out_3.dot, run_out_3.json: "), std::string::npos) << seen;

  const run_outcome piped = s.run_command({"--no-render", "run.txt", "3"});
  EXPECT_EQ(piped.err, "");
  EXPECT_NE(piped.out.find("Processed trace 4 of 4\n"), std::string::npos);
}

}  // namespace
}  // namespace logfsm::e2e
