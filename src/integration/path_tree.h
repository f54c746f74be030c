// The k-state paths from one state, as they stand at one moment.
//
// Window matching looks at the paths from the current state, may then change
// the machine (path creation), and afterwards prunes the paths it looked at.
// The number of those paths grows exponentially with k; the part of the
// machine they cover does not. A path tree keeps that part: every state
// within k - 2 steps of the start with its successors, as copies of the
// stored transitions' states, so that the paths can be walked in their
// original order after the machine has changed, and whole subtrees can be
// decided at once.
#ifndef LOGFSM_INTEGRATION_PATH_TREE_H_
#define LOGFSM_INTEGRATION_PATH_TREE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "integration/paths.h"
#include "model/machine.h"
#include "model/window.h"

namespace logfsm {

struct path_tree {
  struct edge {
    fsm_state to;        // the copy held by the stored transition
    std::uint32_t node;  // the node of `to`
    // The stored transition, valid while the machine's stamp is `stamp`.
    const fsm_transition* stored;
  };
  struct node {
    // Where the node's successors stand in `edges` (see edges_of).
    std::uint32_t first_edge = 0, end_edge = 0;
    // The most steps a walk from here can take in the tree; kUnbounded when
    // a walk can reach a cycle.
    std::int64_t longest = 0;
    // The machine's number for the node's state (machine::state_number).
    std::uint32_t number = 0;
  };
  static constexpr std::int64_t kUnbounded = INT64_MAX;

  std::int32_t k = 2;
  fsm_state start;
  std::uint64_t stamp = 0;  // the machine's stamp when the tree was taken
  std::vector<node> nodes;  // nodes[0] is the start
  std::vector<edge> edges;  // the successors of every node, node by node

  // The successors of node n in transition order, self-loops left out; none
  // for a state first reached k - 1 steps from the start.
  std::span<const edge> edges_of(std::uint32_t n) const {
    return {edges.data() + nodes[n].first_edge, edges.data() + nodes[n].end_edge};
  }

  // True when some walk of `steps` steps leaves `n`; exact for every walk
  // that ends at most k - 1 steps from the start.
  bool has_walk(std::uint32_t n, std::int64_t steps) const {
    return nodes[n].longest >= steps;
  }
};

// The tree of the k-state paths from `start` in `m`; its node numbers are
// m's, so it is looked at with m only. `node_of` is a table by m's state
// numbers that the caller keeps from one tree to the next (start it empty),
// so that making a tree costs the tree's size, not the machine's: it grows
// as needed and is left holding machine::kNoState everywhere.
// Requires: k >= 2.
path_tree make_path_tree(const machine& m, std::int32_t k, const fsm_state& start,
                         std::vector<std::uint32_t>& node_of);

// A path of the tree from its start, as it is walked: the nodes, the state
// copies (pointing into the tree) and their events, one per state.
struct tree_path {
  explicit tree_path(const path_tree& tree)
      : nodes{0}, states{&tree.start}, events{tree.start.event.get()} {}
  std::size_t last() const { return states.size() - 1; }

  std::vector<std::uint32_t> nodes;
  state_refs states;
  window_view events;
};

enum class tree_step { skip, descend, stop };

// Walks the paths below the last state of `p` in enumeration order (the
// successors of a state taken in reverse transition order). Before each call
// `enter(p)` one successor is appended to p; `enter` answers whether to walk
// below it (only while p has fewer than k states), to pass it over, or to
// stop the walk. After the subtree of a successor walked below,
// `leave(p)` is called with it still last. Returns false when stopped; p is
// then left as it was at the stop.
template <typename Enter, typename Leave>
bool walk_tree(const path_tree& tree, tree_path& p, Enter enter, Leave leave) {
  const std::size_t base = p.states.size();
  std::vector<std::size_t> remaining{tree.edges_of(p.nodes.back()).size()};
  const auto take_back = [&p] {
    p.nodes.pop_back();
    p.states.pop_back();
    p.events.pop_back();
  };
  while (!remaining.empty()) {
    if (remaining.back() == 0) {
      remaining.pop_back();
      if (p.states.size() > base) {
        leave(static_cast<const tree_path&>(p));
        take_back();
      }
      continue;
    }
    const path_tree::edge& e = tree.edges_of(p.nodes.back())[--remaining.back()];
    p.nodes.push_back(e.node);
    p.states.push_back(&e.to);
    p.events.push_back(e.to.event.get());
    const tree_step step = enter(static_cast<const tree_path&>(p));
    if (step == tree_step::stop) return false;
    if (step == tree_step::descend &&
        p.states.size() < static_cast<std::size_t>(tree.k)) {
      remaining.push_back(tree.edges_of(e.node).size());
      continue;
    }
    if (step == tree_step::descend) leave(static_cast<const tree_path&>(p));
    take_back();
  }
  return true;
}

// The first path in enumeration order whose names are `w`; none when `w`
// does not have k events or no path spells it.
std::optional<path> first_path_spelling(const path_tree& tree, const window& w);

}  // namespace logfsm

#endif  // LOGFSM_INTEGRATION_PATH_TREE_H_
