#include "model/window_set.h"

#include <algorithm>

namespace logfsm {

bool window_set::insert(const window& w) {
  position at = kRoot;
  for (const event_ptr& e : w) {
    if (one_table_ && (e->table == 0 || (table_ != 0 && e->table != table_))) {
      one_table_ = false;
      table_ = 0;
    } else if (one_table_) {
      table_ = e->table;
    }
    auto& next = nodes_[at].next;
    const auto found =
        table_ != 0
            ? std::lower_bound(next.begin(), next.end(), e->rank,
                               [](const step& s, std::uint32_t r) { return s.rank < r; })
            : std::lower_bound(next.begin(), next.end(), *e,
                               [](const step& s, const event_type& x) {
                                 return compare_events(*s.event, x) < 0;
                               });
    if (found != next.end() && compare_events(*found->event, *e) == 0) {
      at = found->to;
      continue;
    }
    const auto fresh = static_cast<position>(nodes_.size());
    next.insert(found, {e->rank, fresh, e});
    nodes_.emplace_back();
    at = fresh;
  }
  if (nodes_[at].window_end) return false;
  nodes_[at].window_end = true;
  ++size_;
  return true;
}

window_set::position window_set::next_by_rank(const node& n, std::uint32_t rank) {
  // Most nodes have a few steps: a scan beats a search there.
  if (n.next.size() <= 8) {
    for (const step& s : n.next) {
      if (s.rank >= rank) return s.rank == rank ? s.to : kNone;
    }
    return kNone;
  }
  const auto found = std::lower_bound(
      n.next.begin(), n.next.end(), rank,
      [](const step& s, std::uint32_t r) { return s.rank < r; });
  if (found == n.next.end() || found->rank != rank) return kNone;
  return found->to;
}

window_set::position window_set::next_by_name(const node& n, const event_type& e) {
  const auto found = std::lower_bound(
      n.next.begin(), n.next.end(), e,
      [](const step& s, const event_type& x) { return compare_events(*s.event, x) < 0; });
  if (found == n.next.end() || compare_events(*found->event, e) != 0) return kNone;
  return found->to;
}

}  // namespace logfsm
