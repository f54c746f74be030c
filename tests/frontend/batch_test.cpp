// `logfsm [options] LOG K`: the dialogue's files and checks without prompts,
// with distinct exit statuses, its options and its summary.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/program_run.h"

namespace logfsm::testing {
namespace {

using strings = std::vector<std::string>;

// `name` in `dir` as the program names it (with the platform's separator).
std::string in_dir(const std::string& dir, const std::string& name) {
  return (std::filesystem::path(dir) / name).string();
}

constexpr char kLog[] =
    "start;scan;scan;stop;\nstart;stop;\n\nstart;scan;pause;scan;stop;\n";

class BatchTest : public ProgramTest {
 protected:
  BatchTest() { write("run.txt", kLog); }
};

TEST_F(BatchTest, WritesTheDialoguesBytesAndSummarises) {
  ASSERT_EQ(dialogue(answers({"run.txt", "3"})).status, 0);
  const std::string dot = read("run_out_3.dot"), json = read("run_out_3.json");
  std::filesystem::remove("run_out_3.dot");
  std::filesystem::remove("run_out_3.json");

  const program_run run = this->run({"run.txt", "3"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(read("run_out_3.dot"), dot);
  EXPECT_EQ(read("run_out_3.json"), json);
  // The dialogue's progress lines, then one summary line.
  const std::string progress = progress_lines(4);
  ASSERT_TRUE(run.out.starts_with(progress)) << run.out;
  const std::string summary = run.out.substr(progress.size());
  EXPECT_TRUE(
      summary.starts_with("run_out_3.dot, run_out_3.json: 5 states, 7 transitions, "
                          "1 accepting states, "))
      << summary;
  EXPECT_TRUE(summary.ends_with(" s\n")) << summary;
  EXPECT_EQ(run.err, "");
  ASSERT_EQ(run.renders.size(), 1u);
  EXPECT_EQ(run.renders[0].dot_file, "run_out_3.dot");
  EXPECT_EQ(run.renders[0].format, "png");
}

TEST_F(BatchTest, RefusesBadInputWithTheDialoguesMessagesAndDistinctStatuses) {
  write("run.log", kLog);
  write("empty.txt", "\nno events\n");
  std::filesystem::create_directory("folder.txt");
  const struct {
    strings arguments;
    int status;
    std::string err;
  } cases[] = {
      {{"missing.txt", "3"}, 4, "No such file.\n"},
      {{"folder.txt", "3"}, 4, "No such file.\n"},
      {{"run.log", "3"}, 2,
       "run.log: cannot tell the log format from the name (.txt, .xes, .xes.gz, .csv, "
       ".csv.gz); give --input-format or --regex\n"},
      {{"run.txt", "x"}, 2, "Invalid argument.\n"},
      {{"run.txt", "1"}, 2, "Parameter must be 2 or more.\n"},
      {{"run.txt", "99999999999"}, 2, "Parameter is out of range.\n"},
      {{"empty.txt", "3"}, 1, "Log is empty or the format is incorrect.\n"},
  };
  for (const auto& c : cases) {
    const program_run run = this->run(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments[0] << ' ' << c.arguments[1];
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.renders.empty());
  }
  EXPECT_EQ(files(), (strings{"empty.txt", "folder.txt", "run.log", "run.txt"}));
}

TEST_F(BatchTest, RefusesAWrongCommandLineWithTheUsageLine) {
  for (const strings& arguments :
       {strings{"run.txt"}, strings{"run.txt", "3", "4"},
        strings{"--frob", "run.txt", "3"}, strings{"--format", "gif", "run.txt", "3"},
        strings{"run.txt", "3", "--format"}}) {
    const program_run run = this->run(arguments);
    EXPECT_EQ(run.status, 2) << arguments.size();
    EXPECT_TRUE(run.err.starts_with("logfsm: ")) << run.err;
    EXPECT_NE(run.err.find("\nusage: logfsm "), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(files(), strings{"run.txt"});
}

TEST_F(BatchTest, OptionsChooseOutputPlaceFormatRenderingAndQuiet) {
  write("logs/run.txt", kLog);
  const program_run run = this->run(
      {"--quiet", "--output-dir=out/k3", "--format", "svg", "logs/run.txt", "3"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.out.starts_with(in_dir("out/k3", "run_out_3.dot") + ", " +
                                  in_dir("out/k3", "run_out_3.json") + ": "))
      << run.out;
  EXPECT_EQ(run.out.find('\n'), run.out.size() - 1);  // the summary alone
  EXPECT_TRUE(std::filesystem::exists("out/k3/run_out_3.json"));
  ASSERT_EQ(run.renders.size(), 1u);
  EXPECT_EQ(run.renders[0].dot_file, in_dir("out/k3", "run_out_3.dot"));
  EXPECT_EQ(run.renders[0].format, "svg");
  EXPECT_TRUE(run.renders[0].dot_file_written);

  const program_run unrendered = this->run({"-q", "--no-render", "logs/run.txt", "4"});
  ASSERT_EQ(unrendered.status, 0);
  EXPECT_TRUE(std::filesystem::exists("logs/run_out_4.dot"));
  EXPECT_TRUE(unrendered.renders.empty());

  render_error = 2;
  const program_run no_dot = this->run({"-q", "--format=pdf", "run.txt", "3"});
  EXPECT_EQ(no_dot.status, 0);
  EXPECT_EQ(no_dot.err,
            "logfsm: could not start Graphviz dot (error 2); install Graphviz to get the "
            "pdf picture\n");
}

// Also into a directory that even the superuser may not write (/proc).
TEST_F(BatchTest, OutputFilesThatCannotBeWrittenFailWithStatusThree) {
  write("blocked", "a file where the output directory should be");
  std::vector<std::string> places = {"blocked"};
  if (std::filesystem::is_directory("/proc/self")) places.push_back("/proc");
  for (const std::string& dir : places) {
    const program_run run = this->run({"-q", "--output-dir", dir, "run.txt", "3"});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err,
              "Cannot write output file: " + in_dir(dir, "run_out_3.dot") +
                  "\nCannot write output file: " + in_dir(dir, "run_out_3.json") + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.renders.empty());
  }
  EXPECT_EQ(files(), (strings{"blocked", "run.txt"}));
}

// For a person at a terminal: one line on standard error, rewritten in
// place, instead of the progress lines.
TEST_F(BatchTest, ShowsALiveProgressLineWhenStandardErrorIsATerminal) {
  live_progress = true;
  const program_run run = this->run({"--no-render", "run.txt", "3"});
  ASSERT_EQ(run.status, 0);
  EXPECT_NE(run.err.find("\rProcessed 4 of 4 traces (100%)"), std::string::npos)
      << run.err;
  EXPECT_TRUE(run.err.ends_with("\r")) << run.err;  // cleared before the summary
  EXPECT_TRUE(run.out.starts_with("run_out_3.dot, run_out_3.json: ")) << run.out;
  EXPECT_EQ(this->run({"-q", "--no-render", "run.txt", "3"}).err, "");
}

}  // namespace
}  // namespace logfsm::testing
