#include "integration/tree_pruner.h"

#include <cstddef>
#include <cstdint>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "integration/pruning.h"

namespace logfsm {
namespace {

// Prunes the paths of a tree with the result of pruning them one by one in
// order, without listing them all.
//
// Walking the paths in order, a path's choice depends on its steps in turn:
// while they are stored and used it goes on; at the first stored unused step
// every unobserved path below chooses that same step, so the subtree is
// decided by whether it holds an unobserved path; at a step no longer stored
// (path creation erased it) each unobserved path below draws a number and
// makes a transition, so those paths are taken one by one. A subtree walked
// without drawing is settled: it is not walked again from the same node and
// position with the same observed continuations (doing so would choose the
// same transitions again) until a transition is made along a step of the
// tree, which could change what the walk finds.
class tree_pruner {
 public:
  tree_pruner(fsm_builder& builder, const path_tree& tree)
      : builder_(builder), tree_(tree), k_(static_cast<std::size_t>(tree.k)), names_(k_) {
    names_[0] = builder_.observed_windows.next(window_set::kRoot, *tree.start.event);
    measure_steps_to_work();
  }

  std::set<fsm_transition, transition_less> run() {
    tree_path p(tree_);
    walk_tree(
        tree_, p, [this](const tree_path& q) { return enter(q); },
        [this](const tree_path& q) { leave(q); });
    return std::move(chosen_);
  }

 private:
  // A subtree: its node and position, and where the names leading there
  // stand among the observed windows (kNone when no window goes on so).
  using subtree_key = std::tuple<std::uint32_t, std::size_t, window_set::position>;

  struct key_hash {
    std::size_t operator()(const subtree_key& key) const {
      const auto [n, at, names] = key;
      std::uint64_t h = (static_cast<std::uint64_t>(n) << 32) ^ names;
      h ^= static_cast<std::uint64_t>(at) * 0x9E3779B97F4A7C15ull;
      return static_cast<std::size_t>(h ^ (h >> 29));
    }
  };

  // Sets where the names of q stand among the observed windows, from where
  // its prefix stands; the walks are depth first, so that is still in place.
  void place(const tree_path& q) {
    const std::size_t at = q.last();
    names_[at] = builder_.observed_windows.next(names_[at - 1], *q.events[at]);
  }

  subtree_key key_of(const tree_path& q) const {
    return {q.nodes.back(), q.last(), names_[q.last()]};
  }

  // steps_to_work_[n]: the fewest steps from node n to the end of a step
  // whose transition is unused or not stored when the sweep starts. Below a
  // node farther than the steps left every step is stored and used, and
  // stays so (the sweep erases nothing and clears no flag): walking there
  // would choose nothing and draw nothing.
  void measure_steps_to_work() {
    const std::size_t count = tree_.nodes.size();
    steps_to_work_.assign(count, kFar);
    // The nodes with an edge to each node, by a count of entries and their
    // places in one array.
    std::vector<std::uint32_t> first_entry(count + 1, 0), entries;
    for (const path_tree::edge& e : tree_.edges) ++first_entry[e.node + 1];
    for (std::size_t n = 0; n < count; ++n) first_entry[n + 1] += first_entry[n];
    entries.resize(first_entry[count]);
    std::vector<std::uint32_t> filled(first_entry.begin(), first_entry.end() - 1);
    std::vector<std::uint32_t> queue;
    for (std::uint32_t n = 0; n < count; ++n) {
      const path_tree::node& here = tree_.nodes[n];
      for (const path_tree::edge& e : tree_.edges_of(n)) {
        entries[filled[e.node]++] = n;
        const fsm_transition* t = tree_.stamp == builder_.transitions.stamp()
                                      ? e.stored
                                      : builder_.transitions.find_stored(
                                            here.number, tree_.nodes[e.node].number);
        if (t == nullptr || !*t->used) steps_to_work_[n] = 1;
      }
      if (steps_to_work_[n] == 1) queue.push_back(n);
    }
    for (std::size_t next = 0; next < queue.size(); ++next) {
      const std::uint32_t n = queue[next];
      for (std::uint32_t i = first_entry[n]; i < first_entry[n + 1]; ++i) {
        const std::uint32_t before = entries[i];
        if (steps_to_work_[before] != kFar) continue;
        steps_to_work_[before] = steps_to_work_[n] + 1;
        queue.push_back(before);
      }
    }
  }

  tree_step enter(const tree_path& q) {
    const std::size_t at = q.last();
    place(q);
    const fsm_transition* t = builder_.transitions.find_stored(
        tree_.nodes[q.nodes[at - 1]].number, tree_.nodes[q.nodes[at]].number);
    if (t == nullptr) {
      one_by_one(q);
      return tree_step::skip;
    }
    if (!*t->used) {
      if (holds_unobserved(q)) chosen_.insert(*t);
      return tree_step::skip;
    }
    if (at + 1 == k_ || steps_to_work_[q.nodes.back()] > k_ - 1 - at)
      return tree_step::skip;
    const subtree_key key = key_of(q);
    if (settled_.contains(key)) return tree_step::skip;
    open_.push_back({key, draws_});
    return tree_step::descend;
  }

  void leave(const tree_path& q) {
    if (q.last() + 1 == k_) return;
    const auto [key, draws_at_entry] = open_.back();
    open_.pop_back();
    if (draws_ == draws_at_entry) settled_.insert(key);
  }

  // True when some path of the subtree of q's last state is unobserved.
  bool holds_unobserved(const tree_path& q) {
    const window_set& observed = builder_.observed_windows;
    const subtree_key key = key_of(q);
    const auto unobserved_below = [this, &observed](const subtree_key& at) {
      const auto [n, last, names] = at;
      if (last + 1 == k_) return !observed.ends_window(names);
      return names == window_set::kNone &&
             tree_.has_walk(n, static_cast<std::int64_t>(k_ - 1 - last));
    };
    if (unobserved_below(key)) return true;
    if (q.last() + 1 == k_ || std::get<2>(key) == window_set::kNone) return false;
    if (const auto known = unobserved_below_.find(key);
        known != unobserved_below_.end()) {
      return known->second;
    }
    tree_path below = q;
    const bool found = !walk_tree(
        tree_, below,
        [&](const tree_path& r) {
          place(r);
          const subtree_key at = key_of(r);
          if (unobserved_below(at)) return tree_step::stop;
          if (r.last() + 1 == k_ || std::get<2>(at) == window_set::kNone) {
            return tree_step::skip;
          }
          const auto known = unobserved_below_.find(at);
          if (known == unobserved_below_.end()) return tree_step::descend;
          return known->second ? tree_step::stop : tree_step::skip;
        },
        [this](const tree_path& r) {
          if (r.last() + 1 < k_) unobserved_below_.emplace(key_of(r), false);
        });
    unobserved_below_[key] = found;
    return found;
  }

  // Every unobserved path through q, in order, as the plain sweep takes it:
  // its choice starts at q's last step, which is not stored.
  void one_by_one(const tree_path& q) {
    const std::size_t step = q.last() - 1;
    const auto take = [this, step](const tree_path& u) {
      if (builder_.observed_windows.contains(u.events)) return;
      ++draws_;  // the subtrees open now are not settled by their walk
      for (std::size_t j = step; j + 1 < u.states.size(); ++j) {
        const std::size_t before = builder_.transitions.size();
        const fsm_transition t =
            find_or_make_transition(builder_, *u.states[j], *u.states[j + 1]);
        // A transition made along a step of the tree changes what walking a
        // settled subtree would find there.
        if (builder_.transitions.size() != before && has_edge(u.nodes[j], t.to)) {
          settled_.clear();
        }
        if (!*t.used) {
          chosen_.insert(t);
          break;
        }
      }
    };
    if (q.last() + 1 == k_) {
      take(q);
      return;
    }
    tree_path below = q;
    walk_tree(
        tree_, below,
        [&](const tree_path& u) {
          if (u.last() + 1 < k_) return tree_step::descend;
          take(u);
          return tree_step::skip;
        },
        [](const tree_path&) {});
  }

  bool has_edge(std::uint32_t n, const fsm_state& to) const {
    for (const path_tree::edge& e : tree_.edges_of(n)) {
      if (e.to == to) return true;
    }
    return false;
  }

  static constexpr std::size_t kFar = SIZE_MAX;

  fsm_builder& builder_;
  const path_tree& tree_;
  const std::size_t k_;
  std::set<fsm_transition, transition_less> chosen_;
  // names_[i]: where the names of the path walked, up to index i, stand
  // among the observed windows.
  std::vector<window_set::position> names_;
  std::vector<std::size_t> steps_to_work_;
  std::unordered_set<subtree_key, key_hash> settled_;
  std::vector<std::pair<subtree_key, std::uint64_t>> open_;
  std::unordered_map<subtree_key, bool, key_hash> unobserved_below_;
  std::uint64_t draws_ = 0;
};

}  // namespace

std::set<fsm_transition, transition_less> choose_in_tree(fsm_builder& builder,
                                                         const path_tree& tree) {
  return tree_pruner(builder, tree).run();
}

}  // namespace logfsm
