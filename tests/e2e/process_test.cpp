// What only a real process shows: the dialogue over pipes, Graphviz started
// through PATH (a stand-in `dot` records how), a run that does not wait for
// it, an interrupted run, and the live progress line on a real terminal.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/log_generator.h"
#include "support/program_run.h"
#include "support/temp_dir.h"

namespace logfsm::testing {
namespace {

namespace fs = std::filesystem;
using strings = std::vector<std::string>;
using std::chrono::milliseconds;

constexpr char kLog[] =
    "start;scan;scan;stop;\nstart;stop;\n\nstart;scan;pause;scan;stop;\nscan;start;stop;"
    "\n";

std::string quoted(const std::string& text) {
  std::string result = "'";
  for (const char c : text)
    result += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return result + "'";
}

struct process_run {
  int status = -1;
  std::string out;
  std::string err;
};

// One start of the stand-in dot: its working directory, whether its first
// argument named a file then, and its arguments.
struct dot_start {
  std::string directory;
  bool file_existed = false;
  strings arguments;
};

// A scratch folder: work/ is the program's working directory, bin/ holds the
// stand-in dot, which waits while the file `hold` exists and then leaves a
// record of its start in records/.
class ProcessTest : public ::testing::Test {
 protected:
  ProcessTest() {
    for (const char* sub : {"work", "bin", "records", "empty"})
      fs::create_directory(root_ / sub);
    const fs::path dot = root_ / "bin" / "dot";
    write_file(dot,
               "#!/bin/sh\nPATH=/usr/bin:/bin\n"
               "n=0; while [ -e " +
                   quoted(hold_file()) +
                   " ] && [ $n -lt 600 ]; do\n"
                   "  sleep 0.05; n=$((n + 1)); done\n"
                   "r=" +
                   quoted((root_ / "records").string()) +
                   "/$$\n"
                   "{ pwd; if [ -f \"$1\" ]; then echo yes; else echo no; fi;\n"
                   "  printf '%s\\n' \"$@\"; } > \"$r.tmp\" && mv \"$r.tmp\" \"$r\"\n");
    fs::permissions(dot, fs::perms::owner_all);
  }

  fs::path dir() const { return root_ / "work"; }
  std::string hold_file() const { return (root_ / "hold").string(); }

  // Runs `logfsm ARGS` in dir() with `input` on standard input and the
  // stand-in dot alone on PATH (or no dot at all); standard output goes to
  // a file, appended to what `out_before` puts there first, when given.
  process_run run(const strings& args, const std::string& input, bool with_dot = true,
                  const std::string* out_before = nullptr) const {
    write_file(root_ / "in", input);
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about
    // "text" + std::string temporaries at -O3.
    std::string command = "cd ";
    for (const std::string& piece :
         {quoted(dir().string()), std::string(" && PATH="),
          quoted((root_ / (with_dot ? "bin" : "empty")).string()), std::string(" "),
          quoted(LOGFSM_BINARY)}) {
      command += piece;
    }
    for (const std::string& arg : args) command.append(" ").append(quoted(arg));
    command.append(" <").append(quoted((root_ / "in").string()));
    if (out_before != nullptr) write_file(root_ / "out", *out_before);
    command.append(out_before != nullptr ? " >>" : " >").append(quoted((root_ / "out").string()));
    command.append(" 2>").append(quoted((root_ / "err").string()));
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(root_ / "out"),
            read_file(root_ / "err")};
  }

  // The starts recorded, after waiting up to `wait` for `count` of them.
  std::vector<dot_start> starts(std::size_t count, milliseconds wait) const {
    std::vector<dot_start> found;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (true) {
      found.clear();
      for (const fs::directory_entry& entry : fs::directory_iterator(root_ / "records")) {
        if (entry.path().extension() == ".tmp") continue;
        std::istringstream lines(read_file(entry.path()));
        dot_start start;
        std::string line;
        std::getline(lines, start.directory);
        std::getline(lines, line);
        start.file_existed = line == "yes";
        while (std::getline(lines, line)) start.arguments.push_back(line);
        found.push_back(start);
      }
      if (found.size() >= count || std::chrono::steady_clock::now() >= deadline)
        return found;
      std::this_thread::sleep_for(milliseconds(50));
    }
  }

  std::string learned_console(int traces) const {
    return std::string(kFilePrompt) + std::string(kParameterPrompt) +
           "Building FSM...\n" + progress_lines(traces);
  }

 private:
  temp_dir scratch_;
  fs::path root_ = scratch_.path();
};

TEST_F(ProcessTest, TheDialogueOverPipesStartsDotOnTheWrittenFile) {
  write_file(dir() / "run.txt", kLog);
  const process_run run = this->run({}, answers({"run.txt", "3"}));
  EXPECT_EQ(run.out, learned_console(5) + std::string(kSaved));
  EXPECT_EQ(run.status, 0);
  const std::vector<dot_start> started = starts(1, milliseconds(20000));
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].arguments, (strings{"run_out_3.dot", "-Tpng", "-O"}));
  EXPECT_EQ(started[0].directory, fs::canonical(dir()).string());
  EXPECT_TRUE(started[0].file_existed);
}

TEST_F(ProcessTest, TheDotFileNameIsOneArgumentWhateverItHolds) {
  const strings stems = {"My Logs/run log",
                         "it's \"quoted\"",
                         "donn\xC3\xA9"
                         "es/\xD0\xB6",
                         "$HOME `x` *;&|",
                         "back\\slash\\",
                         "  two  blanks  "};
  std::vector<strings> expected;
  for (const std::string& stem : stems) {
    fs::create_directories((dir() / (stem + ".txt")).parent_path());
    write_file(dir() / (stem + ".txt"), kLog);
    ASSERT_EQ(run({"-q", stem + ".txt", "3"}, "").status, 0) << stem;
    expected.push_back({stem + "_out_3.dot", "-Tpng", "-O"});
  }
  std::vector<strings> seen;
  for (const dot_start& s : starts(stems.size(), milliseconds(20000))) {
    seen.push_back(s.arguments);
    EXPECT_TRUE(s.file_existed) << s.arguments[0];
  }
  std::sort(seen.begin(), seen.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(seen, expected);
}

TEST_F(ProcessTest, TheProgramEndsWithoutWaitingForDot) {
  write_file(dir() / "run.txt", kLog);
  write_file(hold_file(), "");
  const process_run run = this->run({}, answers({"run.txt", "3"}));
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.ends_with(kSaved));
  EXPECT_TRUE(starts(1, milliseconds(0)).empty());  // the stand-in is still held
  fs::remove(hold_file());
  EXPECT_EQ(starts(1, milliseconds(20000)).size(), 1u);
}

TEST_F(ProcessTest, AMissingDotPrintsTheSystemErrorNumber) {
  write_file(dir() / "run.txt", kLog);
  const process_run run = this->run({}, answers({"run.txt", "3"}), false);
  EXPECT_EQ(run.out, learned_console(5) + "2\n" + std::string(kSaved));
  EXPECT_EQ(run.status, 0);
}

// The files are written, whole, only after the learning.
TEST_F(ProcessTest, InterruptingALongRunKeepsEarlierFiles) {
  if (std::system("command -v timeout >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "no timeout";
  write_file(dir() / "big.txt", process_log(7, 100000, 20));
  write_file(dir() / "big_out_3.dot", "earlier dot\n");
  write_file(dir() / "big_out_3.json", "earlier json\n");
  const std::string command = "cd " + quoted(dir().string()) + " && timeout -s INT 0.3 " +
                              quoted(LOGFSM_BINARY) +
                              " -q --no-render big.txt 3 >/dev/null 2>&1";
  if (std::system(command.c_str()) == 0)
    GTEST_SKIP() << "the run ended before the interrupt";
  EXPECT_EQ(read_file(dir() / "big_out_3.dot"), "earlier dot\n");
  EXPECT_EQ(read_file(dir() / "big_out_3.json"), "earlier json\n");
  std::size_t entries = 0;
  for ([[maybe_unused]] const fs::directory_entry& e : fs::directory_iterator(dir()))
    ++entries;
  EXPECT_EQ(entries, 3u);  // no temporary file left behind
}

TEST_F(ProcessTest, ALiveProgressLineOnlyOnARealTerminal) {
  if (std::system("command -v script >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "no `script`";
  write_file(dir() / "run.txt", kLog);
  const std::string command = "cd " + quoted(dir().string()) + " && script -qec " +
                              quoted(quoted(LOGFSM_BINARY) + " --no-render run.txt 3") +
                              " /dev/null >../transcript 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string seen = read_file(dir().parent_path() / "transcript");
  EXPECT_NE(seen.find("\rProcessed 5 of 5 traces"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("Processed trace"), std::string::npos) << seen;
  const process_run piped = run({"--no-render", "run.txt", "3"}, "");
  EXPECT_EQ(piped.err, "");
  EXPECT_NE(piped.out.find("Processed trace 5 of 5\n"), std::string::npos);
}

// /dev/stdout names the program's open standard output: a file it is
// appended to keeps what it held, as with any other writer.
TEST_F(ProcessTest, OutputToDevStdoutGoesToTheOpenStream) {
  write_file(dir() / "log.txt", "a;b;\n");
  const std::string before = "earlier line\n";
  const process_run run = this->run({"convert", "-q", "log.txt", "/dev/stdout"}, "", true, &before);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, before + "a;b;\n");
}

}  // namespace
}  // namespace logfsm::testing
