#include "integration/path_tree.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/fixtures.h"
#include "support/log_generator.h"

namespace logfsm {
namespace {

using testing::describe;
using testing::events;
using testing::machine_of;
using testing::st;
using testing::tr;

TEST(PathTree, MeasuresTheLongestWalkAndSeesCycles) {
  std::vector<std::uint32_t> node_of;
  const fsm_state a = st("a"), b = st("b"), c = st("c"), d = st("d");
  // a -> b -> c, and d <-> c once d is reachable.
  const path_tree chain =
      make_path_tree(machine_of({tr(a, b), tr(b, c), tr(c, c)}), 5, a, node_of);
  ASSERT_EQ(chain.nodes.size(), 3u);
  EXPECT_EQ(chain.nodes[0].longest, 2);
  EXPECT_TRUE(chain.has_walk(0, 2));
  EXPECT_FALSE(chain.has_walk(0, 3));
  const path_tree looped =
      make_path_tree(machine_of({tr(a, b), tr(b, c), tr(c, d), tr(d, c)}), 6, a, node_of);
  EXPECT_EQ(looped.nodes[0].longest, path_tree::kUnbounded);
}

TEST(PathTree, StatesBeyondKMinusTwoStepsStartNoStep) {
  std::vector<std::uint32_t> node_of;
  const fsm_state a = st("a"), b = st("b"), c = st("c");
  const path_tree tree =
      make_path_tree(machine_of({tr(a, b), tr(b, c), tr(c, a)}), 3, a, node_of);
  ASSERT_EQ(tree.nodes.size(), 3u);
  EXPECT_EQ(tree.edges_of(1).size(), 1u);  // b, one step from a
  EXPECT_TRUE(tree.edges_of(2).empty());   // c, two steps from a
}

TEST(PathTree, FirstSpellingPathIsTheFirstEnumeratedAndHoldsStoredCopies) {
  std::vector<std::uint32_t> node_of;
  const fsm_state a = st("a"), b0 = st("b"), b7 = st("b", 7), c = st("c");
  const machine m = machine_of({tr(a, b0), tr(a, b7), tr(b0, c), tr(b7, c)});
  const path_tree tree = make_path_tree(m, 3, a, node_of);
  const std::optional<path> p = first_path_spelling(tree, events({"a", "b", "c"}));
  ASSERT_TRUE(p);
  EXPECT_EQ(describe(*p), "a/0 b/7 c/0");
  *(*p)[1].accepting = true;
  EXPECT_TRUE(*m.find(a, b7)->to.accepting);
  EXPECT_FALSE(first_path_spelling(tree, events({"a", "b"})));
  EXPECT_FALSE(first_path_spelling(tree, events({"x", "b", "c"})));
  EXPECT_FALSE(first_path_spelling(tree, events({"a", "b", "d"})));
}

std::string identity(const path& p) {
  std::ostringstream out;
  for (const fsm_state& s : p) out << s.name() << '/' << s.id << '@' << s.accepting.get() << ' ';
  return out.str();
}

// Walking a tree below every state gives the paths of enumerate_paths, in
// the same order and made of the same copies, with one table for the trees
// of every machine.
TEST(PathTree, WalksThePathsOfTheEnumerationInOrder) {
  std::vector<std::uint32_t> node_of;
  for (std::uint64_t seed = 1; seed <= 200; ++seed) {
    testing::seeded_sequence rng(seed);
    std::vector<fsm_state> states;
    for (const char* name : {"a", "b", "c"}) {
      for (std::int16_t id : {0, 3, -2}) states.push_back(st(name, id));
    }
    machine m;
    for (std::uint32_t n = 4 + rng.below(20); n > 0; --n) {
      m.insert(tr(states[rng.below(9)], states[rng.below(9)]));
    }
    const std::int32_t k = 2 + static_cast<std::int32_t>(rng.below(4));
    const fsm_state& start = states[rng.below(9)];
    const path_tree tree = make_path_tree(m, k, start, node_of);
    std::vector<std::string> walked;
    tree_path p(tree);
    walk_tree(
        tree, p,
        [&](const tree_path& q) {
          if (q.states.size() < static_cast<std::size_t>(k)) return tree_step::descend;
          walked.push_back(identity(copy_path(q.states)));
          return tree_step::skip;
        },
        [](const tree_path&) {});
    std::vector<std::string> enumerated;
    for (const path& e : enumerate_paths(m, k, start, direction::forward)) {
      enumerated.push_back(identity(e));
    }
    ASSERT_EQ(walked, enumerated) << "seed " << seed;
  }
}

}  // namespace
}  // namespace logfsm
