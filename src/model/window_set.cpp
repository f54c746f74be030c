#include "model/window_set.h"

#include <algorithm>

namespace logfsm {
namespace {

struct by_name {
  bool operator()(const std::pair<event_ptr, std::uint32_t>& a,
                  const event_type& e) const {
    return compare_events(*a.first, e) < 0;
  }
};

}  // namespace

bool window_set::insert(const window& w) {
  position at = kRoot;
  for (const event_ptr& e : w) {
    auto& next = nodes_[at].next;
    const auto found = std::lower_bound(next.begin(), next.end(), *e, by_name());
    if (found != next.end() && compare_events(*found->first, *e) == 0) {
      at = found->second;
      continue;
    }
    const auto fresh = static_cast<position>(nodes_.size());
    next.insert(found, {e, fresh});
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
  const auto found = std::lower_bound(next.begin(), next.end(), e, by_name());
  if (found == next.end() || compare_events(*found->first, e) != 0) return kNone;
  return found->second;
}

}  // namespace logfsm
