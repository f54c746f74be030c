// The files a run leaves behind: their names and places, their replacement,
// their stability, and what happens when they cannot be written.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "support/e2e_session.h"

namespace logfsm::e2e {
namespace {

constexpr std::string_view kLog =
    "login;browse;buy;logout;\n"
    "login;browse;browse;logout;\n"
    "login;buy;logout;\n"
    "browse;login;buy;buy;logout;\n";
constexpr int kLogTraces = 4;
// Another log, so that a second run would write other bytes.
constexpr std::string_view kOtherLog = "a;b;c;\nc;b;a;\n";
constexpr int kOtherLogTraces = 2;

// The console up to the end of the learning, both prompts answered at once.
std::string learned(int traces) {
  return std::string(kFilePrompt) + std::string(kParameterPrompt) +
         learning_lines(traces);
}

struct written_files {
  std::string dot;
  std::string json;
};

// Runs `log` as "log.txt" with k = 3 in a fresh session; the reference for
// what a run writes.
written_files reference_output(std::string_view log) {
  session s;
  s.write("log.txt", log);
  const run_outcome run = s.run(answers({"log.txt", "3"}));
  EXPECT_EQ(run.exit_status, 0) << run.out;
  return {s.read("log_out_3.dot"), s.read("log_out_3.json")};
}

TEST(EndToEndOutput, FilesAreNamedAfterTheStemNextToTheLog) {
  struct naming {
    std::string log;
    std::string dot;
    std::string json;
  };
  const std::vector<naming> cases = {
      {"run.txt", "run_out_3.dot", "run_out_3.json"},
      {"run.1.txt", "run.1_out_3.dot", "run.1_out_3.json"},
      {"logs/run.txt", "logs/run_out_3.dot", "logs/run_out_3.json"},
      {"logs.old/trace.txt", "logs.old/trace_out_3.dot", "logs.old/trace_out_3.json"},
      {"My Logs/run log.txt", "My Logs/run log_out_3.dot", "My Logs/run log_out_3.json"},
      {".txt", "_out_3.dot", "_out_3.json"},
      {"a/b/c/deep.txt", "a/b/c/deep_out_3.dot", "a/b/c/deep_out_3.json"},
  };
  for (const naming& c : cases) {
    SCOPED_TRACE("log " + c.log);
    session s;
    s.write(c.log, kLog);

    const run_outcome run = s.run(answers({c.log, "3"}));

    EXPECT_EQ(run.out, learned(kLogTraces) + std::string(kSaved));
    EXPECT_EQ(s.files(), (std::vector<std::string>{c.log, c.dot, c.json}));
  }
}

TEST(EndToEndOutput, AbsoluteLogNameWritesNextToTheLog) {
  session s;
  s.make_dir("data");
  s.make_dir("elsewhere");
  s.write("data/run.txt", kLog);

  const run_outcome run =
      s.run_in(s.work() / "elsewhere", answers({(s.work() / "data/run.txt").string(), "4"}));

  EXPECT_EQ(run.out, learned(kLogTraces) + std::string(kSaved));
  EXPECT_EQ(s.files(), (std::vector<std::string>{"data/run.txt", "data/run_out_4.dot",
                                                 "data/run_out_4.json", "elsewhere"}));
}

TEST(EndToEndOutput, RelativeLogNameIsTakenFromTheWorkingDirectory) {
  session s;
  s.make_dir("logs");
  s.make_dir("bin");
  s.write("logs/run.txt", kLog);
  s.write("bin/run.txt", kOtherLog);  // the same name in another place

  const run_outcome run = s.run_in(s.work() / "bin", answers({"../logs/run.txt", "3"}));

  EXPECT_EQ(run.out, learned(kLogTraces) + std::string(kSaved));
  EXPECT_EQ(s.files(), (std::vector<std::string>{"bin/run.txt", "logs/run.txt",
                                                 "logs/run_out_3.dot",
                                                 "logs/run_out_3.json"}));
  const written_files expected = reference_output(kLog);
  EXPECT_EQ(s.read("logs/run_out_3.dot"), expected.dot);
  EXPECT_EQ(s.read("logs/run_out_3.json"), expected.json);
}

TEST(EndToEndOutput, ExistingOutputFilesAreReplacedWhole) {
  const written_files expected = reference_output(kLog);
  session s;
  s.write("log.txt", kLog);
  // Longer than the real output, so leftovers of it would show.
  s.write("log_out_3.dot", std::string(100000, 'x'));
  s.write("log_out_3.json", std::string(100000, 'y'));

  const run_outcome run = s.run(answers({"log.txt", "3"}));

  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(s.read("log_out_3.dot"), expected.dot);
  EXPECT_EQ(s.read("log_out_3.json"), expected.json);
  EXPECT_EQ(s.files(),
            (std::vector<std::string>{"log.txt", "log_out_3.dot", "log_out_3.json"}));
}

TEST(EndToEndOutput, SameLogGivesIdenticalFilesEveryRun) {
  session s;
  s.write("log.txt", kLog);

  ASSERT_EQ(s.run(answers({"log.txt", "3"})).exit_status, 0);
  const std::string first_dot = s.read("log_out_3.dot");
  const std::string first_json = s.read("log_out_3.json");
  ASSERT_EQ(s.run(answers({"log.txt", "3"})).exit_status, 0);

  EXPECT_FALSE(first_dot.empty());
  EXPECT_FALSE(first_json.empty());
  EXPECT_EQ(s.read("log_out_3.dot"), first_dot);
  EXPECT_EQ(s.read("log_out_3.json"), first_json);
}

TEST(EndToEndOutput, CrLfLogGivesTheSameFilesAsLfLog) {
  const written_files expected = reference_output(kLog);
  session s;
  s.write("log.txt", with_crlf(kLog));

  const run_outcome run = s.run(answers({"log.txt", "3"}));

  EXPECT_EQ(run.out, learned(kLogTraces) + std::string(kSaved));
  EXPECT_EQ(s.read("log_out_3.dot"), expected.dot);
  EXPECT_EQ(s.read("log_out_3.json"), expected.json);
}

TEST(EndToEndOutput, DotNameTakenByADirectoryFailsWithStatusThree) {
  session s;
  s.write("run.txt", kLog);
  s.make_dir("run_out_3.dot");

  const run_outcome run = s.run(answers({"run.txt", "3"}));

  EXPECT_EQ(run.out,
            learned(kLogTraces) + line("Cannot write output file: run_out_3.dot"));
  EXPECT_EQ(run.exit_status, 3);
  EXPECT_TRUE(fs::is_directory(s.work() / "run_out_3.dot"));
}

TEST(EndToEndOutput, EachFailedFileHasItsOwnLineInWritingOrder) {
  session s;
  s.write("run.txt", kLog);
  s.make_dir("run_out_3.dot");
  s.make_dir("run_out_3.json");

  const run_outcome run = s.run(answers({"run.txt", "3"}));

  EXPECT_EQ(run.out, learned(kLogTraces) + line("Cannot write output file: run_out_3.dot") +
                         line("Cannot write output file: run_out_3.json"));
  EXPECT_EQ(run.exit_status, 3);
  EXPECT_EQ(s.files(),
            (std::vector<std::string>{"run.txt", "run_out_3.dot", "run_out_3.json"}));
}

TEST(EndToEndOutput, ReadOnlyEarlierOutputStaysIntact) {
  session s;
  s.write("run.txt", kLog);
  ASSERT_EQ(s.run(answers({"run.txt", "3"})).exit_status, 0);
  const std::string earlier_json = s.read("run_out_3.json");
  s.make_read_only("run_out_3.json");
  s.write("run.txt", kOtherLog);  // a new run would write other bytes

  const run_outcome run = s.run(answers({"run.txt", "3"}));

  EXPECT_EQ(run.out,
            learned(kOtherLogTraces) + line("Cannot write output file: run_out_3.json"));
  EXPECT_EQ(run.exit_status, 3);
  EXPECT_EQ(s.read("run_out_3.json"), earlier_json);
  // Nothing half-written is left next to the log.
  EXPECT_EQ(s.files(),
            (std::vector<std::string>{"run.txt", "run_out_3.dot", "run_out_3.json"}));
}

TEST(EndToEndOutput, FailedFileIsNamedWithItsDirectoryPart) {
  session s;
  s.make_dir("logs");
  s.write("logs/run.txt", kLog);
  s.write("logs/run_out_5.dot", "earlier\n");
  s.make_read_only("logs/run_out_5.dot");

  const run_outcome run = s.run(answers({"logs/run.txt", "5"}));

  EXPECT_EQ(run.out,
            learned(kLogTraces) + line("Cannot write output file: logs/run_out_5.dot"));
  EXPECT_EQ(run.exit_status, 3);
  EXPECT_EQ(s.read("logs/run_out_5.dot"), "earlier\n");
}

TEST(EndToEndOutput, DirectoryThatIsNotWritableFailsBothFiles) {
  if (testing::running_as_superuser()) {
    GTEST_SKIP() << "permission bits of directories do not bind the superuser";
  }
  session s;
  s.make_dir("locked");
  s.write("locked/run.txt", kLog);
  s.make_read_only("locked");

  const run_outcome run = s.run(answers({"locked/run.txt", "3"}));

  EXPECT_EQ(run.out, learned(kLogTraces) +
                         line("Cannot write output file: locked/run_out_3.dot") +
                         line("Cannot write output file: locked/run_out_3.json"));
  EXPECT_EQ(run.exit_status, 3);
}

}  // namespace
}  // namespace logfsm::e2e
