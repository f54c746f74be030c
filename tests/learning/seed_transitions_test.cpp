#include "learning/seed_transitions.h"

#include <gtest/gtest.h>

#include "learning/statistics.h"
#include "support/fixtures.h"

namespace logfsm {
namespace {

machine seeded(fsm_builder& builder) {
  for (const trace& t : builder.traces) collect_pairs(builder, t);
  seed_transitions(builder);
  return builder.transitions;
}

machine seeded(const std::string& log) {
  fsm_builder builder = testing::builder_from_log(log, 2);
  return seeded(builder);
}

TEST(SeedTransitions, OneUnusedTransitionBetweenIdZeroStatesPerPair) {
  EXPECT_EQ(testing::describe(seeded("a;b;c;\nc;b;\nc;b;\n")),
            "a/0->b/0\nb/0->c/0\nc/0->b/0\n");
  EXPECT_TRUE(seeded("a;a;\nb;\n").empty());
}

TEST(SeedTransitions, EqualStatesOfDifferentTransitionsHaveSeparateFlags) {
  fsm_builder builder = testing::builder_from_log("a;b;a;\n", 2);
  seeded(builder);
  const fsm_transition& ab = *builder.transitions.begin();
  const fsm_transition& ba = *std::next(builder.transitions.begin());
  ASSERT_EQ(ab.from, ba.to);
  *ab.from.accepting = true;
  EXPECT_FALSE(*ba.to.accepting);
}

}  // namespace
}  // namespace logfsm
