#include "frontend/check_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "frontend/exit_status.h"
#include "frontend/program.h"
#include "output/state_text.h"
#include "support/temp_dir.h"

namespace logfsm {
namespace {

using testing::temp_dir;
using testing::write_file;

constexpr char kModel[] = R"json({"states":["s0(-1)","a(0)"],
"transitions":[{"from":"s0(-1)","to":"a(0)","track":"a"},{"from":"a(0)","to":"a(0)","track":"a"}],
"meta":{"isAccepting":["a(0)"],"isInitial":["s0(-1)"]}})json";

// A temporary folder with a model and a log, and `logfsm check` in the
// process.
class CheckCommandTest : public ::testing::Test {
 protected:
  struct outcome {
    int status;
    std::string out;
    std::string err;
  };

  CheckCommandTest() {
    write_file(model, kModel);
    write_file(log, "a;\na;a;a;\n");
  }

  outcome check(const std::vector<std::string>& args) const {
    std::vector<std::string> command_line = {"check"};
    command_line.insert(command_line.end(), args.begin(), args.end());
    std::istringstream in;
    std::ostringstream out, err;
    const int status = run_program(command_line, in, out, err, {});
    return {status, out.str(), err.str()};
  }

  temp_dir dir;
  const std::string model = dir.file("model.json");
  const std::string log = dir.file("log.txt");
};

TEST_F(CheckCommandTest, StatusTellsWhetherEveryTraceWasAccepted) {
  const outcome ok = check({model, log});
  EXPECT_EQ(ok.status, kExitOk);
  EXPECT_EQ(ok.out, "accepted 2 of 2 traces (100.0%)\n");
  EXPECT_EQ(ok.err, "");

  write_file(log, "a;\nb;\n");
  const outcome rejected = check({model, log});
  EXPECT_EQ(rejected.status, kExitRejected);
  EXPECT_EQ(rejected.out,
            "line 2: event 1 \"b\" is not allowed at the start; allowed: \"a\"\n"
            "accepted 1 of 2 traces (50.0%)\n");
}

TEST_F(CheckCommandTest, EmptyLogIsAllAccepted) {
  write_file(log, "");
  const outcome run = check({"--json", model, log});
  EXPECT_EQ(run.status, kExitOk);
  // The names as JSON strings: Windows paths hold backslashes.
  const auto json_string = [](const std::string& text) {
    std::ostringstream out;
    write_escaped(out, text, text_syntax::json);
    return out.str();
  };
  EXPECT_EQ(run.out, "{\"model\":\"" + json_string(model) + "\",\"log\":\"" +
                         json_string(log) + "\",\"traces\":0,\"accepted\":0,\"rejected\":[]}\n");
}

TEST_F(CheckCommandTest, WrongCommandLinesShowTheUsage) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                               {model},
                                               {model, log, log},
                                               {"--jsn", model, log},
                                               {"-x", model, log}}) {
    const outcome run = check(args);
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("logfsm check: ")) << run.err;
    EXPECT_TRUE(run.err.ends_with(
        "usage: logfsm check [--json] [reading options] MODEL.json LOG\n"
        "Try 'logfsm check --help' for more.\n"))
        << run.err;
  }
  EXPECT_EQ(check({"--jsn", model, log}).err.substr(0, 36),
            "logfsm check: unknown option: --jsn\n");
}

TEST_F(CheckCommandTest, DoubleDashEndsTheOptions) {
  write_file(dir.file("--json"), kModel);
  const outcome run = check({"--", dir.file("--json"), log});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  // A lone "-" is a file name, not an option.
  EXPECT_EQ(check({model, "-"}).status, kExitNoInput);
}

TEST_F(CheckCommandTest, FilesThatCannotBeReadAreNamed) {
  const std::string missing = dir.file("missing.json");
  const outcome no_model = check({missing, log});
  EXPECT_EQ(no_model.status, kExitNoInput);
  EXPECT_EQ(no_model.err, "logfsm check: " + missing + ": cannot open or read\n");
  EXPECT_EQ(check({dir.path().string(), log}).status, kExitNoInput);

  const outcome no_log = check({model, dir.file("missing.txt")});
  EXPECT_EQ(no_log.status, kExitNoInput);
  EXPECT_EQ(no_log.err, "logfsm check: " + dir.file("missing.txt") + ": cannot open\n");
  EXPECT_EQ(check({model, dir.path().string()}).status, kExitNoInput);
}

TEST_F(CheckCommandTest, BadModelsAreRefusedWithOneLine) {
  write_file(model, "{\"states\":[\n\"s0(-1)\"\n\"a(0)\"]}");
  const outcome malformed = check({model, log});
  EXPECT_EQ(malformed.status, kExitBadModel);
  EXPECT_EQ(malformed.err,
            "logfsm check: " + model +
                ": malformed JSON at line 3, column 1: expected ',' or ']'\n");

  write_file(model, "{\"nodes\":[],\"edges\":[]}");
  const outcome foreign = check({model, log});
  EXPECT_EQ(foreign.status, kExitBadModel);
  EXPECT_EQ(foreign.err,
            "logfsm check: " + model + ": not a logfsm model (no \"states\" array)\n");
  EXPECT_EQ(foreign.out, "");
}

}  // namespace
}  // namespace logfsm
