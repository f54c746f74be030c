// Learning on many generated logs: whatever the log, the run ends, every
// transition left is used, and both output texts parse.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>

#include "learning/pipeline.h"
#include "support/fixtures.h"
#include "support/temp_dir.h"

namespace logfsm {
namespace {

struct generated_log {
  std::string text;
  std::int32_t k;
};

// Logs of 1 to 6 lines over small alphabets (the empty name included), with
// immediate repetitions, empty lines and text after the last ";".
generated_log generate(std::mt19937& rng) {
  static const char* const kNames[] = {"a", "b", "c", "d", "e", "", "ab", "x y"};
  const auto pick = [&rng](unsigned n) { return static_cast<unsigned>(rng() % n); };
  const unsigned alphabet = 1 + pick(8);
  std::ostringstream text;
  const unsigned lines = 1 + pick(6);
  for (unsigned line = 0; line < lines; ++line) {
    const unsigned length = pick(5) == 0 ? 0 : 1 + pick(12);
    std::string previous;
    for (unsigned i = 0; i < length; ++i) {
      const std::string name =
          (i > 0 && pick(4) == 0) ? previous : kNames[pick(alphabet)];
      text << name << ';';
      previous = name;
    }
    if (pick(8) == 0) text << "tail";
    text << '\n';
  }
  return {text.str(), static_cast<std::int32_t>(2 + pick(4))};
}

bool dot_available() { return std::system("dot -V >/dev/null 2>&1") == 0; }

TEST(LearningProperties, GeneratedLogsGiveUsedTransitionsAndParsableFiles) {
  std::mt19937 rng(20261207);
  const bool check_dot = dot_available();
  const testing::temp_dir scratch;
  const std::string dot_file = scratch.file("machine.dot");
  for (int run = 0; run < 300; ++run) {
    const generated_log log = generate(rng);
    SCOPED_TRACE("k = " + std::to_string(log.k) + ", log:\n" + log.text);
    fsm_builder builder = testing::builder_from_log(log.text, log.k);
    learn(builder, progress_sink{});
    for (const fsm_transition& t : builder.transitions) ASSERT_TRUE(*t.used);

    const std::string json = testing::json_text(builder.transitions);
    ASSERT_TRUE(testing::parses_as_json(json)) << json;

    if (check_dot && run % 3 == 0) {
      testing::write_file(dot_file, testing::dot_text(builder.transitions));
      const std::string command = "dot -Tcanon '" + dot_file + "' >/dev/null 2>&1";
      ASSERT_EQ(std::system(command.c_str()), 0) << testing::dot_text(builder.transitions);
    }
  }
}

TEST(LearningProperties, SameLogGivesTheSameFilesInOneProcess) {
  std::mt19937 rng(7);
  for (int run = 0; run < 50; ++run) {
    const generated_log log = generate(rng);
    std::string texts[2];
    for (std::string& text : texts) {
      fsm_builder builder = testing::builder_from_log(log.text, log.k);
      learn(builder, progress_sink{});
      text = testing::dot_text(builder.transitions) + testing::json_text(builder.transitions);
    }
    ASSERT_EQ(texts[0], texts[1]) << log.text;
  }
}

}  // namespace
}  // namespace logfsm
