#include "integration/paths.h"

#include <gtest/gtest.h>

#include "support/fixtures.h"

namespace logfsm {
namespace {

using testing::describe;
using testing::machine_of;
using testing::st;
using testing::tr;

std::vector<std::string> describe_all(const std::vector<path>& paths) {
  std::vector<std::string> result;
  for (const path& p : paths) result.push_back(describe(p));
  return result;
}

TEST(EnumeratePaths, SuccessorPushedLastYieldsItsPathsFirst) {
  const fsm_state a = st("a"), b0 = st("b"), b7 = st("b", 7), c = st("c");
  const machine m = machine_of({tr(a, b0), tr(a, b7), tr(b0, c), tr(b7, c)});
  EXPECT_EQ(describe_all(enumerate_paths(m, 3, a, direction::forward)),
            (std::vector<std::string>{"a/0 b/7 c/0", "a/0 b/0 c/0"}));
}

TEST(EnumeratePaths, NegativeIdsCountAsHigherThanNonNegativeOnes) {
  const fsm_state a = st("a");
  const machine m = machine_of({tr(a, st("b", -2)), tr(a, st("b", 5))});
  EXPECT_EQ(describe_all(enumerate_paths(m, 2, a, direction::forward)),
            (std::vector<std::string>{"a/0 b/-2", "a/0 b/5"}));
}

TEST(EnumeratePaths, BackwardListsPredecessorsAfterTheStart) {
  const fsm_state s = st("s"), p = st("p"), q = st("q");
  const machine m = machine_of({tr(p, s), tr(q, p)});
  EXPECT_EQ(describe_all(enumerate_paths(m, 3, s, direction::backward)),
            (std::vector<std::string>{"s/0 p/0 q/0"}));
  EXPECT_TRUE(enumerate_paths(m, 3, s, direction::forward).empty());
}

TEST(EnumeratePaths, RevisitsStatesButNeverStepsAlongSelfLoops) {
  const fsm_state x = st("x"), y = st("y");
  const machine m = machine_of({tr(x, y), tr(y, x), tr(x, x), tr(y, y)});
  EXPECT_EQ(describe_all(enumerate_paths(m, 4, x, direction::forward)),
            (std::vector<std::string>{"x/0 y/0 x/0 y/0"}));
}

TEST(EnumeratePaths, BranchesShorterThanKYieldNothing) {
  const fsm_state a = st("a"), b = st("b"), c = st("c"), d = st("d");
  const machine m = machine_of({tr(a, b), tr(a, c), tr(c, d)});
  EXPECT_EQ(describe_all(enumerate_paths(m, 3, a, direction::forward)),
            (std::vector<std::string>{"a/0 c/0 d/0"}));
  EXPECT_TRUE(enumerate_paths(m, 3, d, direction::forward).empty());
}

TEST(EnumeratePaths, PathStatesShareTheFlagsOfStoredStates) {
  const fsm_state a = st("a"), b = st("b");
  const machine m = machine_of({tr(a, b)});
  const std::vector<path> paths = enumerate_paths(m, 2, a, direction::forward);
  ASSERT_EQ(paths.size(), 1u);
  *paths[0][1].accepting = true;
  EXPECT_TRUE(*m.begin()->to.accepting);
  EXPECT_TRUE(*b.accepting);  // the stored state was copied from b
  EXPECT_FALSE(*st("b").accepting);
}

TEST(ForEachPath, AWalkStartedFromAVisitWithStacksOfItsOwnLeavesTheOuterWalkAsItWas) {
  const fsm_state a = st("a"), b0 = st("b"), b7 = st("b", 7), c = st("c");
  const machine m = machine_of({tr(a, b0), tr(a, b7), tr(b0, c), tr(b7, c), tr(c, a)});
  walk_stacks outer, inner;
  std::vector<path> outer_paths, inner_paths;
  const auto never = [](const fsm_state&, std::size_t) { return false; };
  for_each_path(m, outer, 3, a, direction::forward, never, [&](const state_refs& states) {
    outer_paths.push_back(copy_path(states));
    for_each_path(m, inner, 3, *states.back(), direction::backward, never,
                  [&](const state_refs& back) {
                    inner_paths.push_back(copy_path(back));
                    return false;  // stopped: the stacks are left empty
                  });
    return true;
  });
  EXPECT_EQ(describe_all(outer_paths),
            describe_all(enumerate_paths(m, 3, a, direction::forward)));
  EXPECT_EQ(describe_all(inner_paths),
            (std::vector<std::string>{"c/0 b/7 a/0", "c/0 b/7 a/0"}));
  EXPECT_TRUE(outer.idle() && inner.idle());
}

TEST(SameEvents, ComparesNamesPositionByPosition) {
  const path p = {st("a"), st("b", 4)};
  EXPECT_TRUE(same_events(testing::events({"a", "b"}), p));
  EXPECT_FALSE(same_events(testing::events({"a", "c"}), p));
  EXPECT_FALSE(same_events(testing::events({"a"}), p));
  EXPECT_TRUE(same_events(window{}, path{}));
}

}  // namespace
}  // namespace logfsm
