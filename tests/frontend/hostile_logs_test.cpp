// Logs that try to break the program: each ends with a clear message or a
// correct result and a sane status, never a crash or a partial file. A
// learned machine reads back through `check` whatever bytes its names hold.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/program_run.h"

namespace logfsm::testing {
namespace {

using strings = std::vector<std::string>;

class HostileLogsTest : public ProgramTest {};

TEST_F(HostileLogsTest, OddNamesGiveFilesThatParseRenderAndReadBack) {
  // NUL, quotes, backslashes, braces, "->", control characters, bytes that
  // are not UTF-8, and names that look like DOT syntax.
  const std::string names[] = {std::string("nul\0inside", 10),
                               "say \"hi\"",
                               "back\\slash",
                               "{brace}",
                               "a->b",
                               "tab\there",
                               "bell\x07\x1b[0m",
                               "\xff\xfe",
                               "half \xc3",
                               "];node [shape=box",
                               "\\\"",
                               ""};
  std::string log;
  for (int line = 0; line < 12; ++line) {
    for (int i = 0; i < 5; ++i) log += names[(line * 7 + i * 5) % 12] + ";";
    log += "\n";
  }
  write("odd.txt", log);
  for (const char* k : {"2", "3"}) {
    ASSERT_EQ(run({"-q", "--no-render", "odd.txt", k}).status, 0);
    const std::string model = std::string("odd_out_") + k + ".json";
    EXPECT_TRUE(nlohmann::json::accept(read(model)));
    const program_run check = run({"check", model, "odd.txt"});
    EXPECT_EQ(check.status, 0) << check.out << check.err;
    EXPECT_EQ(check.out, "accepted 12 of 12 traces (100.0%)\n");
  }
#ifndef _WIN32
  if (std::system("dot -V >/dev/null 2>&1") == 0) {
    EXPECT_EQ(std::system("dot -Tsvg odd_out_3.dot -o /dev/null 2>&1"), 0)
        << "Graphviz refused the DOT file";
  }
#endif
}

TEST_F(HostileLogsTest, ACheckExplainsWhereNewTracesLeaveALearnedMachine) {
  write("log.txt",
        "login;browse;buy;logout;\nlogin;browse;browse;logout;\nlogin;buy;logout;\n"
        "browse;login;buy;buy;logout;\n");
  write("new.txt", "login;browse;buy;logout;\nlogin;pay;\nlogin;\n");
  ASSERT_EQ(run({"-q", "--no-render", "log.txt", "2"}).status, 0);
  const program_run text = run({"check", "log_out_2.json", "new.txt"});
  EXPECT_EQ(text.status, 1);
  EXPECT_EQ(text.out,
            "line 2: event 2 \"pay\" is not allowed after \"login\"; allowed: "
            "\"browse\", \"buy\"\n"
            "line 3: ends in a non-accepting state after \"login\"; allowed: \"browse\", "
            "\"buy\"\n"
            "accepted 1 of 3 traces (33.3%)\n");
  const program_run json = run({"check", "--json", "log_out_2.json", "new.txt"});
  EXPECT_EQ(json.status, 1);
  const nlohmann::json report = nlohmann::json::parse(json.out);
  EXPECT_EQ(
      report["rejected"][0],
      nlohmann::json::parse(R"({"line":2,"position":2,"reason":"event not allowed",)"
                            R"("event":"pay","allowed":["browse","buy"]})"));
}

TEST_F(HostileLogsTest, HugeLinesAndMillionsOfEmptyLines) {
  // One line of 100 MB without ";" is an empty trace: the log holds no event.
  write("wide.txt", std::string(100u << 20, 'x') + "\n");
  const program_run wide = run({"-q", "--no-render", "wide.txt", "2"});
  EXPECT_EQ(wide.status, 1);
  EXPECT_EQ(wide.err, "Log is empty or the format is incorrect.\n");
  // One line of 20 MB of one event repeated learns a single state.
  std::string repeated;
  for (int i = 0; i < (20 << 20) / 8; ++i) repeated += "repeat;";
  write("long.txt", repeated + "\n");
  ASSERT_EQ(run({"-q", "--no-render", "long.txt", "3"}).status, 0);
  EXPECT_NE(read("long_out_3.dot").find("\"s0(-1)\"->\"repeat(0)\""), std::string::npos);

  const std::string blank(1000000, '\n');
  write("blank.txt", blank);
  EXPECT_EQ(run({"-q", "--no-render", "blank.txt", "3"}).status, 1);
  write("sparse.txt", blank + "a;b;\n" + blank);
  const program_run sparse = run({"-q", "--no-render", "sparse.txt", "3"});
  ASSERT_EQ(sparse.status, 0) << sparse.err;
  EXPECT_NE(sparse.out.find(": 3 states, 2 transitions, 1 accepting states, "),
            std::string::npos)
      << sparse.out;
}

}  // namespace
}  // namespace logfsm::testing
