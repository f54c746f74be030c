// Pruning against the plain sweep over the listed paths, on random machines
// changed between taking the paths and pruning them as path creation changes
// them; and the rules of the sweep on small cases.
#include "integration/pruning.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <variant>
#include <vector>

#include "support/fixtures.h"
#include "support/log_generator.h"
#include "support/plain_paths.h"

namespace logfsm {
namespace {

using testing::describe;
using testing::machine_of;
using testing::observe;
using testing::st;
using testing::tr;

std::string removals(const fsm_builder& b) {
  std::string result;
  for (const fsm_transition& t : b.removed_transitions) result += describe({t.from, t.to}) + "; ";
  return result;
}

// Fills `b` with a machine over three names and three ids each, some
// transitions used, and some observed windows; the same for the same seed.
void fill_randomly(fsm_builder& b, std::uint64_t seed, std::vector<fsm_state>& states) {
  testing::seeded_sequence rng(seed);
  const std::int32_t k = b.k;
  states.clear();
  for (const char* name : {"a", "b", "c"}) {
    for (const std::int16_t id : {0, 41, 108}) states.push_back(st(name, id));
  }
  const std::uint32_t count = 6 + rng.below(18);
  for (std::uint32_t i = 0; i < count; ++i) {
    b.transitions.insert(tr(states[rng.below(9)], states[rng.below(9)], rng.chance(75)));
  }
  // Windows spelled by some of the machine's paths, and a few others.
  for (const fsm_state& from : states) {
    for (const path& p : testing::plain_enumerate_paths(b.transitions, k, from, direction::forward)) {
      if (rng.chance(30)) b.observed_windows.insert(path_events(p));
    }
  }
  for (std::uint32_t w = rng.below(4); w > 0; --w) {
    window names;
    for (std::int32_t i = 0; i < k; ++i) names.push_back(states[rng.below(9)].event);
    b.observed_windows.insert(names);
  }
}

// The paths taken listed and as a tree (bound 0), pruned after the same
// changes: the same machine, removals and numbers drawn as the plain sweep.
TEST(Pruning, PathsTakenBeforeAChangePruneLikeThePlainSweep) {
  for (std::uint64_t seed = 1; seed <= 4000; ++seed) {
    const auto k = static_cast<std::int32_t>(2 + seed % 4);
    fsm_builder plain = testing::builder_from_log("", k), listed = testing::builder_from_log("", k),
                treed = testing::builder_from_log("", k);
    pruner listing, tree_only(0);
    std::vector<fsm_state> states;
    for (fsm_builder* b : {&plain, &listed, &treed}) fill_randomly(*b, seed, states);
    testing::seeded_sequence rng(seed * 7919);
    const fsm_state start = states[rng.below(9)];
    const std::vector<path> paths =
        testing::plain_enumerate_paths(plain.transitions, k, start, direction::forward);
    pending_paths as_list = listing.take_paths(listed, start, window());
    pending_paths as_tree = tree_only.take_paths(treed, start, window());
    as_list.keep();
    ASSERT_EQ(std::holds_alternative<path_tree>(as_tree.paths), !paths.empty());
    // Path creation erases transitions and adds some before pruning.
    for (std::uint32_t change = rng.below(7); change > 0; --change) {
      if (plain.transitions.empty()) break;
      fsm_transition t = *std::next(plain.transitions.begin(),
                                    rng.below(static_cast<std::uint32_t>(plain.transitions.size())));
      const bool add = rng.chance(30);
      if (add) t = tr(t.from, states[rng.below(9)]);
      for (fsm_builder* b : {&plain, &listed, &treed}) {
        add ? b->transitions.insert(fsm_transition(t.from, t.to)) : b->transitions.erase(t);
      }
    }
    testing::plain_prune_unobserved_paths(plain, paths);
    listing.prune_unobserved_paths(listed, as_list);
    tree_only.prune_unobserved_paths(treed, as_tree);
    for (const fsm_builder* b : {&listed, &treed}) {
      ASSERT_EQ(describe(b->transitions), describe(plain.transitions)) << "seed " << seed;
      ASSERT_EQ(removals(*b), removals(plain)) << "seed " << seed;
    }
    const int next = plain.random.next();
    ASSERT_EQ(listed.random.next(), next) << "seed " << seed;
    ASSERT_EQ(treed.random.next(), next) << "seed " << seed;
  }
}

class PruningRules : public ::testing::Test {
 protected:
  // Prunes the paths from `a` as they stand now, after erasing `erased`.
  void prune_from_a(std::initializer_list<fsm_transition> erased = {}) {
    pending_paths paths = pruning.take_paths(builder, a, window());
    paths.keep();
    for (const fsm_transition& t : erased) builder.transitions.erase(t);
    pruning.prune_unobserved_paths(builder, paths);
  }
  bool quiet(const window& w) {
    return std::holds_alternative<quiet_paths>(pruning.take_paths(builder, a, w).paths);
  }
  fsm_builder builder = testing::builder_from_log("", 3);
  pruner pruning;
  fsm_state a = st("a"), b0 = st("b"), b7 = st("b", 7), c = st("c"), d = st("d");
};

TEST_F(PruningRules, RemovesTheFirstUnusedTransitionAlongAnUnobservedPath) {
  builder.transitions = machine_of({tr(a, b0, true), tr(b0, c, false)});
  prune_from_a();
  EXPECT_EQ(describe(builder.transitions), "a/0->b/0 used\n");
  ASSERT_EQ(builder.removed_transitions.size(), 1u);
  EXPECT_EQ(removals(builder), "b/0 c/0; ");
  EXPECT_FALSE(*builder.removed_transitions[0].used);
}

TEST_F(PruningRules, RemovesATransitionSharedByTwoPathsOnce) {
  builder.transitions = machine_of({tr(a, b0), tr(b0, c), tr(b0, d)});
  prune_from_a();
  EXPECT_EQ(describe(builder.transitions), "b/0->c/0\nb/0->d/0\n");
  EXPECT_EQ(builder.removed_transitions.size(), 1u);
}

TEST_F(PruningRules, KeepsObservedPathsAndFullyUsedPaths) {
  builder.transitions = machine_of({tr(a, b0), tr(b0, c), tr(a, b7, true), tr(b7, d, true)});
  observe(builder, {"a", "b", "c"});
  prune_from_a();
  EXPECT_EQ(builder.transitions.size(), 4u);
  EXPECT_TRUE(builder.removed_transitions.empty());
}

TEST_F(PruningRules, RemakesAnErasedTransitionAsUsedWithTheSourcesEvent) {
  // b/0->c/0 is gone: it is made again towards a new state of b's event,
  // used, so nothing is removed.
  builder.transitions = machine_of({tr(a, b0, true), tr(b0, c)});
  prune_from_a({tr(b0, c)});
  EXPECT_EQ(describe(builder.transitions), "a/0->b/0 used\nb/0->b/41 used\n");
  EXPECT_TRUE(builder.removed_transitions.empty());
}

TEST_F(PruningRules, EveryPathThroughAMissingStepDrawsAgain) {
  // Neither step of either path is stored any more: each path makes both of
  // its steps anew, four numbers in all; the shared first step is no
  // shortcut.
  builder.transitions = machine_of({tr(a, b0), tr(b0, c), tr(b0, d)});
  prune_from_a({tr(a, b0), tr(b0, c), tr(b0, d)});
  EXPECT_EQ(builder.random.next(), 19169);  // the fifth number
  EXPECT_TRUE(builder.removed_transitions.empty());
}

TEST_F(PruningRules, AStateWhosePathsPruneToNothingIsQuietWhileItsPathsStand) {
  builder.transitions = machine_of({tr(a, b0, true), tr(b0, c, true), tr(b0, d, true)});
  prune_from_a();  // every path used: nothing chosen, nothing made
  const pending_paths spelled = pruning.take_paths(builder, a, path_events({a, b0, d}));
  EXPECT_TRUE(std::holds_alternative<quiet_paths>(spelled.paths));
  ASSERT_TRUE(spelled.match.has_value());
  EXPECT_EQ(describe(*spelled.match), "a/0 b/0 d/0");
  // A window no path spells leads to path creation: the paths are taken.
  EXPECT_FALSE(quiet(path_events({a, c, d})));
  // Beyond the paths (c leads on only after their k states) or not.
  builder.transitions.insert(tr(c, d));
  EXPECT_TRUE(quiet(window()));
  builder.transitions.insert(tr(b0, a));
  EXPECT_FALSE(quiet(window()));
  prune_from_a();
  builder.transitions = machine_of({tr(a, b0, true), tr(b0, c, true), tr(b0, d, true)});
  EXPECT_FALSE(quiet(window()));
}

TEST(FindOrMakeTransition, ReturnsTheStoredTransitionWithItsFlag) {
  fsm_builder builder = testing::builder_from_log("", 2);
  const fsm_state x = st("x", 5), y = st("y");
  builder.transitions = machine_of({tr(x, y)});
  const fsm_transition t = find_or_make_transition(builder, x, y);
  *t.used = true;
  EXPECT_TRUE(*builder.transitions.begin()->used);
  EXPECT_EQ(builder.random.next(), 41);  // nothing drawn
}

TEST(FindOrMakeTransition, NewStateIdWrapsInSixteenBits) {
  fsm_builder builder = testing::builder_from_log("", 2);
  const fsm_transition t = find_or_make_transition(builder, st("x", 32767), st("y"));
  EXPECT_EQ(describe({t.from, t.to}), "x/32767 x/-32728");
  EXPECT_TRUE(*t.used);
}

}  // namespace
}  // namespace logfsm
