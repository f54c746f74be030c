// Logs that try to break the program, through the real binary: each ends
// with a clear message or a correct result and a sane status, never a crash,
// a hang, or a partial output file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/e2e_session.h"
#include "support/json_check.h"
#include "support/log_generator.h"

namespace logfsm::e2e {
namespace {

using strings = std::vector<std::string>;

bool dot_available() { return std::system("dot -V >/dev/null 2>&1") == 0; }

TEST(EndToEndHostileLogs, OddNamesGiveFilesThatParseRenderAndReadBack) {
  session s;
  // NUL, quotes, backslashes, braces, "->", control characters, bytes that
  // are not UTF-8, and names that look like DOT syntax.
  const std::string names[] = {std::string("nul\0inside", 10), "say \"hi\"", "back\\slash",
                               "{brace}", "a->b", "tab\there", "bell\x07\x1b[0m",
                               "\xff\xfe", "half \xc3", "];node [shape=box", "\\\"", ""};
  std::string log;
  for (int line = 0; line < 12; ++line) {
    for (int i = 0; i < 5; ++i) log += names[(line * 7 + i * 5) % 12] + ";";
    log += "\n";
  }
  s.write("odd.txt", log);
  const run_outcome run = s.run_command({"-q", "--no-render", "odd.txt", "3"});
  ASSERT_EQ(run.exit_status, 0) << run.err;

  const testing::json_check_result json = testing::check_json(s.read("odd_out_3.json"));
  EXPECT_TRUE(json.ok) << json.error << " at " << json.offset;
  if (dot_available()) {
    const std::string command =
        "dot -Tsvg '" + (s.work() / "odd_out_3.dot").string() + "' -o /dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "Graphviz refused the DOT file";
  }
  // The model file reads back, and the machine accepts the log it came from.
  const run_outcome check = s.run_command({"check", "odd_out_3.json", "odd.txt"});
  EXPECT_EQ(check.exit_status, 0) << check.out << check.err;
}

TEST(EndToEndHostileLogs, AHundredMegabyteLineIsReadWhole) {
  session s;
  // One line of 100 MB without ";" is an empty trace: the log holds no event.
  s.write("wide.txt", std::string(100u << 20, 'x') + "\n");
  const run_outcome empty = s.run_command({"-q", "--no-render", "wide.txt", "2"});
  EXPECT_EQ(empty.exit_status, 1);
  EXPECT_EQ(empty.err, "Log is empty or the format is incorrect.\n");
  // One line of 20 MB of repetitions of one event learns a single state.
  std::string repeated;
  for (int i = 0; i < (20 << 20) / 8; ++i) repeated += "repeat;";
  s.write("long.txt", repeated + "\n");
  const run_outcome run = s.run_command({"-q", "--no-render", "long.txt", "3"});
  ASSERT_EQ(run.exit_status, 0) << run.err;
  EXPECT_NE(s.read("long_out_3.dot").find("\"s0(-1)\"->\"repeat(0)\""), std::string::npos);
}

TEST(EndToEndHostileLogs, AMillionEmptyLines) {
  session s;
  const std::string blank(1000000, '\n');
  s.write("blank.txt", blank);
  const run_outcome empty = s.run_command({"-q", "--no-render", "blank.txt", "3"});
  EXPECT_EQ(empty.exit_status, 1);
  EXPECT_EQ(empty.err, "Log is empty or the format is incorrect.\n");

  s.write("sparse.txt", blank + "a;b;\n" + blank);
  const run_outcome run = s.run_command({"-q", "--no-render", "sparse.txt", "3"});
  ASSERT_EQ(run.exit_status, 0) << run.err;
  EXPECT_NE(run.out.find(": 3 states, 2 transitions, 1 accepting states, "), std::string::npos)
      << run.out;
}

TEST(EndToEndHostileLogs, ALogThatIsADirectoryOrUnreadable) {
  session s;
  s.make_dir("folder.txt");
  const run_outcome run = s.run_command({"-q", "folder.txt", "3"});
  EXPECT_EQ(run.exit_status, 4);
  EXPECT_EQ(run.err, "No such file.\n");
  EXPECT_EQ(s.files(), strings{"folder.txt"});
}

// Even the superuser cannot write into /proc: the unwritable directory that
// the permission-bit test cannot give when the tests run as root.
TEST(EndToEndHostileLogs, AnOutputDirectoryNobodyMayWriteFailsBothFiles) {
  if (!fs::is_directory("/proc/self")) GTEST_SKIP() << "no /proc";
  session s;
  s.write("run.txt", "a;b;\n");
  const run_outcome run = s.run_command({"-q", "--output-dir", "/proc", "run.txt", "3"});
  EXPECT_EQ(run.exit_status, 3);
  EXPECT_EQ(run.err, "Cannot write output file: /proc/run_out_3.dot\n"
                     "Cannot write output file: /proc/run_out_3.json\n");
  EXPECT_EQ(s.files(), strings{"run.txt"});
}

// An interrupted run leaves the files of an earlier run as they were: the
// files are only written, whole, after the learning.
TEST(EndToEndHostileLogs, InterruptingALongRunKeepsEarlierFiles) {
  if (std::system("command -v timeout >/dev/null 2>&1") != 0) GTEST_SKIP() << "no timeout";
  session s;
  s.write("big.txt", testing::process_log(7, 100000, 20));
  s.write("big_out_3.dot", "earlier dot\n");
  s.write("big_out_3.json", "earlier json\n");
  const std::string command = "cd '" + s.work().string() + "' && timeout -s INT 0.3 '" +
                              LOGFSM_BINARY + "' -q --no-render big.txt 3 >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  if (status == 0) GTEST_SKIP() << "the run ended before it could be interrupted";
  EXPECT_EQ(s.read("big_out_3.dot"), "earlier dot\n");
  EXPECT_EQ(s.read("big_out_3.json"), "earlier json\n");
  EXPECT_EQ(s.files(), (strings{"big.txt", "big_out_3.dot", "big_out_3.json"}));
}

}  // namespace
}  // namespace logfsm::e2e
