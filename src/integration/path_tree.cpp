#include "integration/path_tree.h"

#include <cassert>
#include <set>
#include <utility>

namespace logfsm {
namespace {

// Sets every node's `longest` by a depth-first search in post-order: a node
// with a successor still on the search stack lies on a cycle.
void measure_walks(path_tree& tree) {
  enum class mark : unsigned char { fresh, open, done };
  std::vector<mark> marks(tree.nodes.size(), mark::fresh);
  std::vector<std::pair<std::uint32_t, std::size_t>> stack;  // node, next edge
  for (std::uint32_t root = 0; root < tree.nodes.size(); ++root) {
    if (marks[root] != mark::fresh) continue;
    marks[root] = mark::open;
    stack.emplace_back(root, 0);
    while (!stack.empty()) {
      auto& [n, next] = stack.back();
      path_tree::node& here = tree.nodes[n];
      const std::span<const path_tree::edge> edges = tree.edges_of(n);
      if (next < edges.size()) {
        const std::uint32_t m = edges[next++].node;
        if (marks[m] == mark::fresh) {
          marks[m] = mark::open;
          stack.emplace_back(m, 0);
        } else if (marks[m] == mark::open) {
          here.longest = path_tree::kUnbounded;
        } else if (here.longest != path_tree::kUnbounded) {
          const std::int64_t via = tree.nodes[m].longest;
          here.longest = via == path_tree::kUnbounded
                             ? via
                             : std::max(here.longest, via + 1);
        }
        continue;
      }
      marks[n] = mark::done;
      const std::int64_t finished = here.longest;
      stack.pop_back();
      if (stack.empty()) break;
      path_tree::node& parent = tree.nodes[stack.back().first];
      if (parent.longest == path_tree::kUnbounded) continue;
      parent.longest = finished == path_tree::kUnbounded
                           ? finished
                           : std::max(parent.longest, finished + 1);
    }
  }
}

}  // namespace

path_tree make_path_tree(const machine& m, std::int32_t k, const fsm_state& start,
                         std::vector<std::uint32_t>& node_of) {
  assert(k >= 2);
  path_tree tree;
  tree.k = k;
  tree.start = start;
  tree.stamp = m.stamp();
  tree.nodes.emplace_back();
  const std::uint32_t first = m.state_number(start);
  if (first == machine::kNoState) {
    // A state at no transition end starts no step.
    tree.nodes[0].number = first;
    return tree;
  }
  // Breadth first, so a state's depth is its fewest steps from the start;
  // states deeper than k - 2 steps start no path step. node_of is reset
  // before returning, so one table serves every tree.
  if (node_of.size() < m.state_count()) node_of.resize(m.state_count(), machine::kNoState);
  tree.nodes[0].number = first;
  node_of[first] = 0;
  // First the nodes and the count of edges, then the edges, so their array
  // is allocated once.
  std::vector<std::int64_t> depth{0};
  std::size_t edge_count = 0;
  const auto starts_steps = [&](std::uint32_t n) { return depth[n] <= k - 2; };
  for (std::uint32_t n = 0; n < tree.nodes.size(); ++n) {
    if (!starts_steps(n)) continue;
    const auto out = m.outgoing_of(tree.nodes[n].number);
    for (auto t = out.begin(); t != out.end(); ++t) {
      if (t->is_self_loop()) continue;
      ++edge_count;
      std::uint32_t& to = node_of[t.other_number()];
      if (to == machine::kNoState) {
        to = static_cast<std::uint32_t>(tree.nodes.size());
        tree.nodes.emplace_back();
        tree.nodes.back().number = t.other_number();
        depth.push_back(depth[n] + 1);
      }
    }
  }
  tree.edges.reserve(edge_count);
  for (std::uint32_t n = 0; n < tree.nodes.size(); ++n) {
    tree.nodes[n].first_edge = static_cast<std::uint32_t>(tree.edges.size());
    if (starts_steps(n)) {
      const auto out = m.outgoing_of(tree.nodes[n].number);
      for (auto t = out.begin(); t != out.end(); ++t) {
        if (!t->is_self_loop()) tree.edges.push_back({t->to, node_of[t.other_number()], &*t});
      }
    }
    tree.nodes[n].end_edge = static_cast<std::uint32_t>(tree.edges.size());
  }
  for (const path_tree::node& n : tree.nodes) node_of[n.number] = machine::kNoState;
  measure_walks(tree);
  return tree;
}

std::optional<path> first_path_spelling(const path_tree& tree, const window& w) {
  if (w.size() != static_cast<std::size_t>(tree.k) || !same_event(w[0], tree.start.event)) {
    return std::nullopt;
  }
  // Below a node at a position, nothing spells the rest of w once a walk
  // there has found nothing.
  std::set<std::pair<std::uint32_t, std::size_t>> barren;
  tree_path p(tree);
  std::optional<path> found;
  walk_tree(
      tree, p,
      [&](const tree_path& q) {
        const std::size_t at = q.last();
        if (compare_events(*q.events[at], *w[at]) != 0) return tree_step::skip;
        if (at + 1 == w.size()) {
          found = copy_path(q.states);
          return tree_step::stop;
        }
        return barren.contains({q.nodes[at], at}) ? tree_step::skip : tree_step::descend;
      },
      [&](const tree_path& q) { barren.emplace(q.nodes[q.last()], q.last()); });
  return found;
}

}  // namespace logfsm
