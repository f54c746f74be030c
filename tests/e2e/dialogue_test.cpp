// The console dialogue of the built program, byte for byte: prompts,
// messages, the order of the checks, and the exit status.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/e2e_session.h"

namespace logfsm::e2e {
namespace {

constexpr std::string_view kLog =
    "open;read;close;\n"
    "open;close;\n"
    "open;read;read;close;\n";
constexpr int kLogTraces = 3;

// A prompt followed by the complaint about its answer.
std::string rejected(std::string_view prompt, std::string_view message) {
  return std::string(prompt) + line(message);
}

// Both prompts answered well, the learning, and the closing line.
std::string accepted_run(int traces) {
  return std::string(kFilePrompt) + std::string(kParameterPrompt) +
         learning_lines(traces) + std::string(kSaved);
}

const std::vector<std::string> kLogOnly = {"log.txt"};
const std::vector<std::string> kLogAndOutputs = {"log.txt", "log_out_3.dot",
                                                 "log_out_3.json"};

TEST(EndToEndDialogue, CompleteRunPrintsPromptsProgressAndClosingLine) {
  session s;
  s.write("log.txt", kLog);

  const run_outcome run = s.run(answers({"log.txt", "3"}));

  EXPECT_EQ(run.out, accepted_run(kLogTraces));
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(s.files(), kLogAndOutputs);
}

TEST(EndToEndDialogue, ExitAtFilePromptEndsAtOnce) {
  session s;
  s.write("log.txt", kLog);
  s.write("exit", kLog);  // a file of that name does not matter

  const run_outcome run = s.run(answers({"exit", "log.txt", "3"}));

  EXPECT_EQ(run.out, kFilePrompt);
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(s.files(), (std::vector<std::string>{"exit", "log.txt"}));
}

TEST(EndToEndDialogue, ExitAtParameterPromptEndsWithoutReadingTheLog) {
  session s;
  s.write("log.txt", "");  // read, this log would end the run with status 1

  const run_outcome run = s.run(answers({"log.txt", "exit", "3"}));

  EXPECT_EQ(run.out, std::string(kFilePrompt) + std::string(kParameterPrompt));
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(s.files(), kLogOnly);
}

TEST(EndToEndDialogue, OnlyExactlyExitEnds) {
  session s;

  const run_outcome run = s.run(answers({"Exit", " exit", "exit ", "EXIT", "exit"}));

  std::string expected;
  for (int i = 0; i < 4; ++i) expected += rejected(kFilePrompt, "No such file.");
  EXPECT_EQ(run.out, expected + std::string(kFilePrompt));
  EXPECT_EQ(run.exit_status, 0);
}

TEST(EndToEndDialogue, ExitWithCarriageReturnStillEnds) {
  session s;
  s.write("log.txt", kLog);

  EXPECT_EQ(s.run("exit\r\n").out, kFilePrompt);
  EXPECT_EQ(s.run("log.txt\r\nexit\r\n").out,
            std::string(kFilePrompt) + std::string(kParameterPrompt));
  EXPECT_EQ(s.files(), kLogOnly);
}

TEST(EndToEndDialogue, EndOfInputAtFilePromptEndsWithStatusZero) {
  session s;

  const run_outcome silent = s.run("");
  EXPECT_EQ(silent.out, kFilePrompt);
  EXPECT_EQ(silent.exit_status, 0);

  const run_outcome after_a_miss = s.run(answers({"missing.txt"}));
  EXPECT_EQ(after_a_miss.out,
            rejected(kFilePrompt, "No such file.") + std::string(kFilePrompt));
  EXPECT_EQ(after_a_miss.exit_status, 0);
}

TEST(EndToEndDialogue, EndOfInputAtParameterPromptEndsWithStatusZero) {
  session s;
  s.write("log.txt", kLog);

  const run_outcome run = s.run(answers({"log.txt", "abc"}));

  EXPECT_EQ(run.out, std::string(kFilePrompt) +
                         rejected(kParameterPrompt, "Invalid argument.") +
                         std::string(kParameterPrompt));
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(s.files(), kLogOnly);
}

TEST(EndToEndDialogue, NameThatDoesNotOpenAsAFileIsAskedAgain) {
  session s;
  s.write("log.txt", kLog);
  s.make_dir("folder.txt");
  s.make_dir("folder");

  // A missing name is reported as missing whatever its extension.
  const run_outcome run = s.run(
      answers({"missing.txt", "log.csv", "folder.txt", "folder", "log.txt", "3"}));

  std::string expected;
  for (int i = 0; i < 4; ++i) expected += rejected(kFilePrompt, "No such file.");
  EXPECT_EQ(run.out, expected + accepted_run(kLogTraces));
  EXPECT_EQ(run.exit_status, 0);
}

TEST(EndToEndDialogue, FileWithoutExactTxtExtensionIsAskedAgain) {
  session s;
  const std::vector<std::string> names = {"log.TXT",        "trace",    "logs.old/trace",
                                          "log.txt.bak",    "log.txt ", "log.tx",
                                          "log.txt\t"};
  for (const std::string& name : names) s.write(name, kLog);
  s.write("log.txt", kLog);

  std::string input;
  std::string expected;
  for (const std::string& name : names) {
    input += line(name);
    expected += rejected(kFilePrompt, ".txt file is required");
  }
  const run_outcome run = s.run(input + answers({"log.txt", "3"}));

  EXPECT_EQ(run.out, expected + accepted_run(kLogTraces));
  EXPECT_EQ(run.exit_status, 0);
}

TEST(EndToEndDialogue, BadParametersAreAskedAgainWithTheirOwnMessage) {
  session s;
  s.write("log.txt", kLog);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"abc", "Invalid argument."},
      {"", "Invalid argument."},
      {"   ", "Invalid argument."},
      {"-", "Invalid argument."},
      {"+", "Invalid argument."},
      {"x3", "Invalid argument."},
      {"1", "Parameter must be 2 or more."},
      {"0", "Parameter must be 2 or more."},
      {"-4", "Parameter must be 2 or more."},
      {"0x10", "Parameter must be 2 or more."},
      {"-2147483648", "Parameter must be 2 or more."},
      {"2147483648", "Parameter is out of range."},
      {"-2147483649", "Parameter is out of range."},
      {"-99999999999", "Parameter is out of range."},
      {"99999999999999999999999999", "Parameter is out of range."},
  };

  std::string input = line("log.txt");
  std::string expected(kFilePrompt);
  for (const auto& [answer, message] : cases) {
    input += line(answer);
    expected += rejected(kParameterPrompt, message);
  }
  const run_outcome run = s.run(input + line("3"));

  EXPECT_EQ(run.out, expected + std::string(kParameterPrompt) +
                         learning_lines(kLogTraces) + std::string(kSaved));
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(s.files(), kLogAndOutputs);
}

TEST(EndToEndDialogue, ParameterIsReadFromTheLeadingNumber) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"3abc", "3"}, {" 7", "7"},  {"+5", "5"},  {"3.9", "3"},
      {"\t4", "4"},  {"2", "2"},   {"007", "7"}, {"6 8", "6"},
  };
  for (const auto& [answer, k] : cases) {
    SCOPED_TRACE("parameter answer \"" + answer + "\"");
    session s;
    s.write("log.txt", kLog);

    const run_outcome run = s.run(answers({"log.txt", answer}));

    EXPECT_EQ(run.out, accepted_run(kLogTraces));
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_EQ(s.files(), (std::vector<std::string>{"log.txt", "log_out_" + k + ".dot",
                                                   "log_out_" + k + ".json"}));
  }
}

TEST(EndToEndDialogue, LogWithoutEventsEndsWithStatusOneAfterTheParameter) {
  const std::vector<std::string> logs = {"", "\n", "\n\n\n", "a\nb c\n",
                                         "no separator at all", "\r\n\r\n"};
  for (const std::string& log : logs) {
    SCOPED_TRACE("log \"" + log + "\"");
    session s;
    s.write("log.txt", log);

    const run_outcome run = s.run(answers({"log.txt", "3"}));

    EXPECT_EQ(run.out, std::string(kFilePrompt) + std::string(kParameterPrompt) +
                           line("Log is empty or the format is incorrect."));
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_EQ(s.files(), kLogOnly);
  }
}

TEST(EndToEndDialogue, EveryLineCountsAsATraceEvenWithoutEvents) {
  const std::vector<std::pair<std::string, int>> logs = {
      {"\n\nx;\n", 3},
      {"header without events\na;b;\n\nb;a;", 4},
      {"a;b;\n\n\n", 3},
      {"a;b;c", 1},
  };
  for (const auto& [log, traces] : logs) {
    SCOPED_TRACE("log \"" + log + "\"");
    session s;
    s.write("log.txt", log);

    const run_outcome run = s.run(answers({"log.txt", "2"}));

    EXPECT_EQ(run.out, accepted_run(traces));
    EXPECT_EQ(run.exit_status, 0);
  }
}

TEST(EndToEndDialogue, CarriageReturnBeforeLineEndOfAnAnswerIsDropped) {
  session s;
  s.write("log.txt", kLog);

  const run_outcome run = s.run("missing.txt\r\nlog.txt\r\nabc\r\n3\r\n");

  EXPECT_EQ(run.out, rejected(kFilePrompt, "No such file.") + std::string(kFilePrompt) +
                         rejected(kParameterPrompt, "Invalid argument.") +
                         std::string(kParameterPrompt) + learning_lines(kLogTraces) +
                         std::string(kSaved));
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(s.files(), kLogAndOutputs);
}

TEST(EndToEndDialogue, LastAnswerWithoutLineEndIsStillAnAnswer) {
  session s;
  s.write("log.txt", kLog);

  const run_outcome run = s.run("log.txt\n3");

  EXPECT_EQ(run.out, accepted_run(kLogTraces));
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(s.files(), kLogAndOutputs);
}

}  // namespace
}  // namespace logfsm::e2e
