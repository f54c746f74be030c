// The set of observed windows, held as a trie of their names: membership and
// lookups by prefix.
#ifndef LOGFSM_MODEL_WINDOW_SET_H_
#define LOGFSM_MODEL_WINDOW_SET_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/window.h"

namespace logfsm {

class window_set {
 public:
  // A node of the trie: the names read from the root so far.
  using position = std::uint32_t;
  static constexpr position kRoot = 0;
  static constexpr position kNone = UINT32_MAX;

  // Adds `w` unless a window with the same names is held. Returns true when
  // added.
  bool insert(const window& w);

  bool contains(const window& w) const { return ends_window(follow(w)); }
  bool contains(const window_view& w) const { return ends_window(follow(w)); }

  // The position after reading `e` at `at`; kNone when no held window goes
  // on so (or when `at` is kNone).
  position next(position at, const event_type& e) const {
    if (at == kNone) return kNone;
    if (table_ != 0 && e.table == table_) return next_by_rank(nodes_[at], e.rank);
    return next_by_name(nodes_[at], e);
  }
  // The position after reading every event of `names` from the root.
  template <typename Events>
  position follow(const Events& names) const {
    position at = kRoot;
    for (const auto& e : names) at = next(at, *e);
    return at;
  }
  // True when a held window has exactly the names leading to `at`.
  bool ends_window(position at) const { return at != kNone && nodes_[at].window_end; }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

 private:
  // A step from a node: the event read (that of the window inserted first),
  // its rank when the set holds events of one table only, and the position
  // reached.
  struct step {
    std::uint32_t rank;
    position to;
    event_ptr event;
  };
  struct node {
    std::vector<step> next;  // ordered by name
    bool window_end = false;
  };

  // The step from `n` by an event of the set's table, ranked `rank` (ranks
  // of one table are in name order); by any event.
  static position next_by_rank(const node& n, std::uint32_t rank);
  static position next_by_name(const node& n, const event_type& e);

  std::vector<node> nodes_{node{}};
  std::size_t size_ = 0;
  // The table of every event held, while they all come from one (0 when they
  // do not): lookups of its events then compare ranks, not names.
  std::uint64_t table_ = 0;
  bool one_table_ = true;
};

}  // namespace logfsm

#endif  // LOGFSM_MODEL_WINDOW_SET_H_
