#include "learning/pipeline.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "support/fixtures.h"
#include "support/log_generator.h"

namespace logfsm {
namespace {

std::string learned_files(const std::string& log, std::int32_t k,
                        std::string* progress = nullptr) {
  fsm_builder builder = testing::builder_from_log(log, k);
  std::ostringstream out;
  learn(builder, progress_lines(out));
  if (progress != nullptr) *progress = out.str();
  return testing::dot_text(builder.transitions) + testing::json_text(builder.transitions);
}

TEST(Learn, PrintsOneProgressLinePerTraceThenRefining) {
  std::string progress;
  learned_files("a;b;\n\nb;c;\n", 2, &progress);
  EXPECT_EQ(progress,
            "Processed trace 1 of 3\nProcessed trace 2 of 3\nProcessed trace 3 of 3\n"
            "Refining...\n");
}

TEST(Learn, LearnsTheSameMachineEveryTimeInOneProcess) {
  const std::string log = "a;b;c;d;\nb;c;a;\na;c;b;d;\nd;a;b;\n";
  const std::string first = learned_files(log, 3);
  EXPECT_EQ(learned_files(log, 3), first);
}

TEST(Learn, RunsOnTwoThreadsAtOnceLearnWhatRunsOneAfterAnotherLearn) {
  // Each run keeps its pruning state to itself.
  const std::string log = testing::process_log(3, 80, 12);
  const std::string alone[2] = {learned_files(log, 4), learned_files(log, 3)};
  std::string together[2];
  std::thread other([&] { together[1] = learned_files(log, 3); });
  together[0] = learned_files(log, 4);
  other.join();
  EXPECT_EQ(together[0], alone[0]);
  EXPECT_EQ(together[1], alone[1]);
}

TEST(Learn, LearnsASmallLogCompletely) {
  // The start transitions and every step of both traces are used; both
  // traces end in states of their own.
  const std::string dot =
      "Digraph {\nnode [shape = doublecircle];\"B(0)\" \"E(0)\" ;\n"
      "node [shape = circle];\n\"s0(-1)\"->\"A(0)\"[label = \"A\"]\n"
      "\"A(0)\"->\"B(0)\"[label = \"B\"]\n\"A(0)\"->\"E(0)\"[label = \"E\"]\n}\n";
  EXPECT_EQ(learned_files("A;B;\nA;E;\n", 2).substr(0, dot.size()), dot);
}

}  // namespace
}  // namespace logfsm
