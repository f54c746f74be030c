// The set of observed windows, with a trie of their names for lookups by
// prefix.
#ifndef LOGFSM_MODEL_WINDOW_SET_H_
#define LOGFSM_MODEL_WINDOW_SET_H_

#include <cstddef>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "model/window.h"

namespace logfsm {

class window_set {
 public:
  using const_iterator = std::set<window, window_less>::const_iterator;
  // A node of the trie: the names read from the root so far.
  using position = std::uint32_t;
  static constexpr position kRoot = 0;
  static constexpr position kNone = UINT32_MAX;

  // Adds `w` unless a window with the same names is held (the held one
  // stays). Returns true when added.
  bool insert(const window& w);

  bool contains(const window& w) const { return ends_window(follow(w)); }
  bool contains(const window_view& w) const { return ends_window(follow(w)); }

  // The position after reading `e` at `at`; kNone when no held window goes
  // on so (or when `at` is kNone).
  position next(position at, const event_type& e) const;
  // The position after reading every event of `names` from the root.
  template <typename Events>
  position follow(const Events& names) const {
    position at = kRoot;
    for (const auto& e : names) at = next(at, *e);
    return at;
  }
  // True when a held window has exactly the names leading to `at`.
  bool ends_window(position at) const { return at != kNone && nodes_[at].window_end; }

  // The windows in window order.
  const_iterator begin() const { return windows_.begin(); }
  const_iterator end() const { return windows_.end(); }
  std::size_t size() const { return windows_.size(); }
  bool empty() const { return windows_.empty(); }

 private:
  struct node {
    // The positions that follow, ordered by name; the events are those of
    // held windows.
    std::vector<std::pair<const event_type*, position>> next;
    bool window_end = false;
  };

  std::set<window, window_less> windows_;
  std::vector<node> nodes_{node{}};
};

}  // namespace logfsm

#endif  // LOGFSM_MODEL_WINDOW_SET_H_
