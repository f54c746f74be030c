// The console dialogue, byte for byte: prompts, messages, the order of the
// checks, the output files, the renderer and the exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/program_run.h"

namespace logfsm::testing {
namespace {

using strings = std::vector<std::string>;

constexpr char kLog[] = "open;read;close;\nopen;close;\nopen;read;read;close;\n";

std::string prompts() { return std::string(kFilePrompt) + std::string(kParameterPrompt); }

// Both prompts answered well, the learning, and the closing line.
std::string accepted_run(int traces) {
  return prompts() + "Building FSM...\n" + progress_lines(traces) + std::string(kSaved);
}

std::string rejected(std::string_view prompt, const std::string& message) {
  return std::string(prompt) + message + "\n";
}

class DialogueTest : public ProgramTest {
 protected:
  DialogueTest() { write("log.txt", kLog); }
};

TEST_F(DialogueTest, CompleteRunWritesTheFilesNextToTheLogAndRendersThePng) {
  const program_run run = dialogue(answers({"log.txt", "3"}));
  EXPECT_EQ(run.out, accepted_run(3));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(files(), (strings{"log.txt", "log_out_3.dot", "log_out_3.json"}));
  ASSERT_EQ(run.renders.size(), 1u);
  EXPECT_EQ(run.renders[0].dot_file, "log_out_3.dot");
  EXPECT_EQ(run.renders[0].format, "png");
  EXPECT_TRUE(run.renders[0].dot_file_written);
}

// "exit" (exactly) or the end of input at either prompt ends with status 0,
// the log unread (this one would end the run with status 1).
TEST_F(DialogueTest, ExitOrTheEndOfInputAtAPromptEndsAtOnce) {
  write("empty.txt", "");
  const std::string no_such = rejected(kFilePrompt, "No such file.");
  const struct {
    std::string input;
    std::string out;
  } cases[] = {
      {"", std::string(kFilePrompt)},
      {"exit\nlog.txt\n3\n", std::string(kFilePrompt)},
      {"exit\r\n", std::string(kFilePrompt)},
      {"empty.txt\nexit\n3\n", prompts()},
      {"empty.txt\r\nexit\r\n", prompts()},
      {"empty.txt\n", prompts()},
      {"Exit\n exit\nexit \nEXIT\nexit\n",
       no_such + no_such + no_such + no_such + std::string(kFilePrompt)},
      {"empty.txt\nabc\n", std::string(kFilePrompt) +
                               rejected(kParameterPrompt, "Invalid argument.") +
                               std::string(kParameterPrompt)},
  };
  for (const auto& c : cases) {
    const program_run run = dialogue(c.input);
    EXPECT_EQ(run.out, c.out) << c.input;
    EXPECT_EQ(run.status, 0) << c.input;
    EXPECT_TRUE(run.renders.empty());
  }
  EXPECT_EQ(files(), (strings{"empty.txt", "log.txt"}));
}

// Answers are asked again with their own message; a CR before the line end
// is dropped and the last answer needs no line end.
TEST_F(DialogueTest, BadAnswersAreAskedAgainWithTheirOwnMessage) {
  write("log.csv.txt.bak", kLog);
  std::filesystem::create_directory("folder.txt");
  const program_run run = dialogue(
      "missing.txt\nlog.csv\nfolder.txt\nlog.csv.txt.bak\r\nlog.txt\r\n"
      "abc\n1\n2147483648\r\n3");
  EXPECT_EQ(run.out, rejected(kFilePrompt, "No such file.") +
                         rejected(kFilePrompt, "No such file.") +
                         rejected(kFilePrompt, "No such file.") +
                         rejected(kFilePrompt, ".txt file is required") +
                         std::string(kFilePrompt) +
                         rejected(kParameterPrompt, "Invalid argument.") +
                         rejected(kParameterPrompt, "Parameter must be 2 or more.") +
                         rejected(kParameterPrompt, "Parameter is out of range.") +
                         std::string(kParameterPrompt) + "Building FSM...\n" +
                         progress_lines(3) + std::string(kSaved));
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(std::filesystem::exists("log_out_3.json"));
}

TEST_F(DialogueTest, LogWithoutEventsEndsWithStatusOneAfterTheParameter) {
  for (const std::string log : {"", "\n\n\n", "a\nb c\n", "\r\n\r\n"}) {
    write("log.txt", log);
    const program_run run = dialogue(answers({"log.txt", "3"}));
    EXPECT_EQ(run.out, prompts() + "Log is empty or the format is incorrect.\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.renders.empty());
  }
  EXPECT_EQ(files(), strings{"log.txt"});
}

TEST_F(DialogueTest, EveryLineCountsAsATraceEvenWithoutEvents) {
  write("log.txt", "header without events\na;b;\n\nb;a;");
  EXPECT_EQ(dialogue(answers({"log.txt", "2"})).out, accepted_run(4));
}

TEST_F(DialogueTest, FilesAreNamedAfterTheStemAndRenderedAsNamed) {
  const std::string absolute =
      (std::filesystem::current_path() / "abs" / "run.txt").string();
  const struct {
    std::string log;
    std::string stem;
  } cases[] = {
      {"run.1.txt", "run.1"},
      {"logs.old/trace.txt", "logs.old/trace"},
      {"My Logs/run log.txt", "My Logs/run log"},
      {".txt", ""},
      {absolute, absolute.substr(0, absolute.size() - 4)},
  };
  for (const auto& c : cases) {
    write(c.log, kLog);
    const program_run run = dialogue(answers({c.log, "3"}));
    EXPECT_EQ(run.out, accepted_run(3)) << c.log;
    EXPECT_TRUE(std::filesystem::exists(c.stem + "_out_3.json")) << c.log;
    ASSERT_EQ(run.renders.size(), 1u);
    EXPECT_EQ(run.renders[0].dot_file, c.stem + "_out_3.dot");
  }
}

TEST_F(DialogueTest, ExistingOutputFilesAreReplacedWhole) {
  ASSERT_EQ(dialogue(answers({"log.txt", "3"})).status, 0);
  const std::string dot = read("log_out_3.dot"), json = read("log_out_3.json");
  write("log_out_3.dot", std::string(100000, 'x'));
  write("log_out_3.json", std::string(100000, 'y'));
  ASSERT_EQ(dialogue(answers({"log.txt", "3"})).status, 0);
  EXPECT_EQ(read("log_out_3.dot"), dot);
  EXPECT_EQ(read("log_out_3.json"), json);
}

TEST_F(DialogueTest, ARendererThatCannotStartPrintsItsErrorNumberAndTheRunCompletes) {
  render_error = 2;
  const program_run run = dialogue(answers({"log.txt", "3"}));
  EXPECT_EQ(run.out, prompts() + "Building FSM...\n" + progress_lines(3) + "2\n" +
                         std::string(kSaved));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err,
            "logfsm: could not start Graphviz dot (error 2); install Graphviz to get the "
            "PNG image\n");
}

// Each file that cannot be written has its line, in writing order; earlier
// files of that name stay as they were, and nothing is rendered.
TEST_F(DialogueTest, OutputFilesThatCannotBeWrittenFailWithStatusThree) {
  const std::string dot_line = "Cannot write output file: log_out_3.dot\n";
  const std::string json_line = "Cannot write output file: log_out_3.json\n";
  const struct {
    bool dot_blocked, json_blocked;
    std::string lines;
  } cases[] = {{true, false, dot_line},
               {false, true, json_line},
               {true, true, dot_line + json_line}};
  for (const auto& c : cases) {
    std::filesystem::remove_all("log_out_3.dot");
    std::filesystem::remove_all("log_out_3.json");
    if (c.dot_blocked) std::filesystem::create_directory("log_out_3.dot");
    if (c.json_blocked) {
      write("log_out_3.json", "earlier\n");
      std::filesystem::permissions("log_out_3.json", std::filesystem::perms::owner_read);
    }
    const program_run run = dialogue(answers({"log.txt", "3"}));
    EXPECT_EQ(run.out, prompts() + "Building FSM...\n" + progress_lines(3) + c.lines);
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(run.renders.empty());
    if (c.json_blocked) {
      EXPECT_EQ(read("log_out_3.json"), "earlier\n");
    }
    EXPECT_EQ(files(), (strings{"log.txt", "log_out_3.dot", "log_out_3.json"}));
    std::filesystem::permissions("log_out_3.json", std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
  }
}

}  // namespace
}  // namespace logfsm::testing
