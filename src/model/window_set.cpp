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
    const auto found = std::lower_bound(
        next.begin(), next.end(), *e,
        [](const step& s, const event_type& x) { return compare_events(*s.event, x) < 0; });
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

window_set::position window_set::next(position at, const event_type& e) const {
  if (at == kNone) return kNone;
  const auto& next = nodes_[at].next;
  if (table_ != 0 && e.table == table_) {
    // Ranks of one table are in name order.
    const auto found = std::lower_bound(
        next.begin(), next.end(), e.rank,
        [](const step& s, std::uint32_t rank) { return s.rank < rank; });
    if (found == next.end() || found->rank != e.rank) return kNone;
    return found->to;
  }
  const auto found = std::lower_bound(
      next.begin(), next.end(), e,
      [](const step& s, const event_type& x) { return compare_events(*s.event, x) < 0; });
  if (found == next.end() || compare_events(*found->event, e) != 0) return kNone;
  return found->to;
}

}  // namespace logfsm
