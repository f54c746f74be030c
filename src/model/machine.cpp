#include "model/machine.h"

namespace logfsm {

bool incoming_order::operator()(const fsm_transition* a,
                                        const fsm_transition* b) const {
  const state_less less;
  if (less(a->to, b->to)) return true;
  if (less(b->to, a->to)) return false;
  return less(a->from, b->from);
}

bool incoming_order::operator()(const fsm_transition* a,
                                        const fsm_state& to) const {
  return state_less()(a->to, to);
}

bool incoming_order::operator()(const fsm_state& to,
                                        const fsm_transition* b) const {
  return !state_less()(b->to, to);
}

machine::machine(const machine& other) {
  for (const fsm_transition& t : other) insert(t);
}

machine& machine::operator=(const machine& other) {
  if (this != &other) *this = machine(other);
  return *this;
}

bool machine::insert(const fsm_transition& t) {
  const auto [it, inserted] = transitions_.insert(t);
  if (!inserted) return false;
  incoming_.insert(&*it);
  ++ends_[t.from];
  ++ends_[t.to];
  return true;
}

bool machine::erase(const fsm_transition& t) {
  const auto it = transitions_.find(transition_key{t.from, t.to});
  if (it == transitions_.end()) return false;
  incoming_.erase(&*it);
  for (const fsm_state* end : {&it->from, &it->to}) {
    const auto count = ends_.find(*end);
    if (--count->second == 0) ends_.erase(count);
  }
  transitions_.erase(it);
  return true;
}

std::optional<fsm_transition> machine::find(const fsm_state& from,
                                            const fsm_state& to) const {
  const auto it = transitions_.find(transition_key{from, to});
  if (it == transitions_.end()) return std::nullopt;
  return *it;
}

machine::range<machine::incoming_set::const_iterator> machine::incoming(
    const fsm_state& s) const {
  auto first = incoming_.lower_bound(s);
  auto last = first;
  while (last != incoming_.end() && (*last)->to == s) ++last;
  return {first, last};
}

machine::range<machine::const_iterator> machine::outgoing(const fsm_state& s) const {
  auto first = transitions_.lower_bound(outgoing_key{s});
  auto last = first;
  while (last != transitions_.end() && last->from == s) ++last;
  return {first, last};
}

std::vector<fsm_transition> machine::incident_transitions(
    const fsm_state& s) const {
  // In transition order: the entries from states before s, then everything
  // leaving s (a loop among it), then the entries from states after s.
  std::vector<fsm_transition> result;
  const auto entering = incoming(s);
  const state_less less;
  auto in = entering.begin();
  for (; in != entering.end() && less((*in)->from, s); ++in) result.push_back(**in);
  for (const fsm_transition& t : outgoing(s)) result.push_back(t);
  for (; in != entering.end(); ++in) {
    if (!((*in)->from == s)) result.push_back(**in);
  }
  return result;
}

const fsm_state& machine::first_copy(const fsm_state& s) const {
  const auto entering = incoming(s);
  if (!entering.empty() && state_less()((*entering.begin())->from, s)) {
    return (*entering.begin())->to;
  }
  const auto leaving = outgoing(s);
  if (!leaving.empty()) return leaving.begin()->from;
  return (*entering.begin())->to;
}

std::vector<fsm_state> machine::states_with_event(const event_type& e) const {
  std::vector<fsm_state> result;
  for (auto it = ends_.lower_bound(fsm_state(0, make_event(e.name)));
       it != ends_.end() && it->first.name() == e.name; ++it) {
    result.push_back(first_copy(it->first));
  }
  return result;
}

std::optional<fsm_transition> machine::find_transition_to_event(
    const fsm_state& from, const event_type& e) const {
  // Id 0 is the lowest id in state order.
  const fsm_state lowest(0, make_event(e.name));
  const auto it = transitions_.lower_bound(transition_key{from, lowest});
  if (it == transitions_.end() || !(it->from == from) || it->to.name() != e.name) {
    return std::nullopt;
  }
  return *it;
}

std::vector<state_summary> machine::states() const {
  std::map<fsm_state, bool, state_less> held;
  const auto add = [&held](const fsm_state& s) {
    auto [it, inserted] = held.emplace(s, *s.accepting);
    if (!inserted && *s.accepting) it->second = true;
  };
  for (const fsm_transition& t : transitions_) {
    add(t.from);
    add(t.to);
  }
  std::vector<state_summary> result;
  result.reserve(held.size());
  for (const auto& [state, accepting] : held) result.push_back({state, accepting});
  return result;
}

}  // namespace logfsm
