#include "model/machine.h"

#include <algorithm>
#include <atomic>
#include <cassert>

namespace logfsm {
namespace {

// The key of the state table: name number and id.
std::uint64_t state_key(std::uint32_t name, std::int16_t id) {
  return (static_cast<std::uint64_t>(name) << 16) | static_cast<std::uint16_t>(id);
}

// Stamps come from one counter, so no two contents share one.
std::uint64_t new_stamp() {
  static std::atomic<std::uint64_t> last{0};
  return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

std::size_t hash_key(std::uint64_t key) {
  key *= 0x9E3779B97F4A7C15ull;
  return static_cast<std::size_t>(key ^ (key >> 32));
}

}  // namespace

const fsm_transition& machine::const_iterator::operator*() const {
  const std::vector<std::uint32_t>& held = m_->names_[m_->names_in_order_[name_]].held;
  return m_->slots_[m_->states_[held[state_]].out[link_].slot].t;
}

machine::const_iterator& machine::const_iterator::operator++() {
  ++link_;
  settle();
  return *this;
}

void machine::const_iterator::settle() {
  const std::vector<std::uint32_t>& order = m_->names_in_order_;
  for (; name_ < order.size(); ++name_, state_ = 0) {
    const std::vector<std::uint32_t>& held = m_->names_[order[name_]].held;
    for (; state_ < held.size(); ++state_, link_ = 0) {
      if (link_ < m_->states_[held[state_]].out.size()) return;
    }
  }
}

machine::machine(const machine& other) {
  for (const fsm_transition& t : other) insert(t);
}

machine& machine::operator=(const machine& other) {
  if (this != &other) *this = machine(other);
  return *this;
}

machine& machine::operator=(machine&& other) noexcept {
  if (this == &other) return *this;
  names_ = std::move(other.names_);
  names_in_order_ = std::move(other.names_in_order_);
  name_numbers_ = std::move(other.name_numbers_);
  table_ = other.table_;
  name_by_rank_ = std::move(other.name_by_rank_);
  states_ = std::move(other.states_);
  state_hash_ = std::move(other.state_hash_);
  slots_ = std::move(other.slots_);
  free_slots_ = std::move(other.free_slots_);
  size_ = other.size_;
  stamp_ = new_stamp();  // the contents are new to this machine
  replaced_ = stamp_;
  return *this;
}

std::uint32_t machine::name_of(const event_type& e) const {
  if (e.table != 0 && e.table == table_ && e.rank < name_by_rank_.size() &&
      name_by_rank_[e.rank] != kNone) {
    return name_by_rank_[e.rank];
  }
  const std::uint32_t found = name_numbers_.find(e.name);
  return found == name_numbers::none ? kNone : found;
}

std::uint32_t machine::add_name(const event_type& e) {
  std::uint32_t n = name_of(e);
  if (n == kNone) {
    n = name_numbers_.number(e.name);
    names_.push_back({0, {}});
    const auto at = std::lower_bound(
        names_in_order_.begin(), names_in_order_.end(), e.name,
        [this](std::uint32_t x, const std::string& name) { return name_less(name_numbers_[x], name); });
    const bool last = at == names_in_order_.end();
    names_in_order_.insert(at, n);
    if (last) {
      names_[n].rank = static_cast<std::uint32_t>(names_in_order_.size() - 1);
    } else {
      // The ranks after the new name move up; the orders of the states
      // follow, and every array sorted by them stays sorted.
      for (std::uint32_t r = 0; r < names_in_order_.size(); ++r) names_[names_in_order_[r]].rank = r;
      for (state_entry& s : states_) s.order = order_of(s.name, s.id);
    }
  }
  if (e.table != 0) {
    if (table_ == 0) table_ = e.table;
    if (e.table == table_) {
      if (name_by_rank_.size() <= e.rank) name_by_rank_.resize(e.rank + std::size_t{1}, kNone);
      name_by_rank_[e.rank] = n;
    }
  }
  return n;
}

std::uint64_t machine::order_of(std::uint32_t name, std::int16_t id) const {
  return state_key(names_[name].rank, id);
}

std::uint32_t machine::state_of(const fsm_state& s) const {
  if (state_hash_.empty()) return kNone;
  const std::uint32_t n = name_of(*s.event);
  if (n == kNone) return kNone;
  const std::uint64_t key = state_key(n, s.id);
  const std::size_t mask = state_hash_.size() - 1;
  for (std::size_t i = hash_key(key) & mask;; i = (i + 1) & mask) {
    const std::uint32_t x = state_hash_[i];
    if (x == kNone) return kNone;
    if (states_[x].name == n && states_[x].id == s.id) return x;
  }
}

std::uint32_t machine::add_state(const fsm_state& s) {
  const std::uint32_t found = state_of(s);
  if (found != kNone) return found;
  const std::uint32_t n = add_name(*s.event);
  const auto x = static_cast<std::uint32_t>(states_.size());
  states_.push_back({order_of(n, s.id), n, s.id, 0, 0, {}, {}});
  if (states_.size() * 2 > state_hash_.size()) {
    state_hash_.assign(std::max<std::size_t>(64, state_hash_.size() * 2), kNone);
    const std::size_t mask = state_hash_.size() - 1;
    for (std::uint32_t y = 0; y < states_.size(); ++y) {
      std::size_t i = hash_key(state_key(states_[y].name, states_[y].id)) & mask;
      while (state_hash_[i] != kNone) i = (i + 1) & mask;
      state_hash_[i] = y;
    }
    return x;
  }
  const std::size_t mask = state_hash_.size() - 1;
  std::size_t i = hash_key(state_key(n, s.id)) & mask;
  while (state_hash_[i] != kNone) i = (i + 1) & mask;
  state_hash_[i] = x;
  return x;
}

std::vector<machine::link>::const_iterator machine::position(const std::vector<link>& links,
                                                             std::uint64_t order) const {
  return std::lower_bound(links.begin(), links.end(), order,
                          [this](const link& l, std::uint64_t o) { return states_[l.other].order < o; });
}

void machine::hold(std::uint32_t x) {
  if (states_[x].ends++ != 0) return;
  std::vector<std::uint32_t>& held = names_[states_[x].name].held;
  const auto at = std::lower_bound(held.begin(), held.end(), states_[x].order,
                                   [this](std::uint32_t y, std::uint64_t o) { return states_[y].order < o; });
  held.insert(at, x);
}

void machine::release(std::uint32_t x) {
  if (--states_[x].ends != 0) return;
  std::vector<std::uint32_t>& held = names_[states_[x].name].held;
  held.erase(std::find(held.begin(), held.end(), x));
}

bool machine::insert(const fsm_transition& t) {
  const std::uint32_t from = add_state(t.from);
  const std::uint32_t to = add_state(t.to);
  std::vector<link>& out = states_[from].out;
  const auto at = position(out, states_[to].order);
  if (at != out.end() && at->other == to) return false;
  std::uint32_t s;
  if (free_slots_.empty()) {
    s = static_cast<std::uint32_t>(slots_.size());
    slots_.push_back({t, from, to});
  } else {
    s = free_slots_.back();
    free_slots_.pop_back();
    slots_[s] = {t, from, to};
  }
  out.insert(at, {to, s});
  std::vector<link>& in = states_[to].in;
  in.insert(position(in, states_[from].order), {from, s});
  hold(from);
  hold(to);
  ++size_;
  stamp_ = new_stamp();
  states_[from].out_changed = stamp_;
  return true;
}

bool machine::erase(const fsm_transition& t) {
  const std::uint32_t from = state_of(t.from);
  const std::uint32_t to = state_of(t.to);
  if (from == kNone || to == kNone) return false;
  std::vector<link>& out = states_[from].out;
  const auto at = position(out, states_[to].order);
  if (at == out.end() || at->other != to) return false;
  const std::uint32_t s = at->slot;
  out.erase(at);
  std::vector<link>& in = states_[to].in;
  in.erase(position(in, states_[from].order));
  release(from);
  release(to);
  // The slot lets go of the flags and events it shared.
  fsm_transition& gone = slots_[s].t;
  for (fsm_state* end : {&gone.from, &gone.to}) {
    end->event.reset();
    end->accepting.reset();
  }
  gone.used.reset();
  free_slots_.push_back(s);
  --size_;
  stamp_ = new_stamp();
  states_[from].out_changed = stamp_;
  return true;
}

const fsm_transition* machine::find_stored(const fsm_state& from, const fsm_state& to) const {
  const std::uint32_t f = state_of(from);
  if (f == kNone) return nullptr;
  const std::uint32_t n = name_of(*to.event);
  if (n == kNone) return nullptr;
  const std::uint64_t order = order_of(n, to.id);
  const std::vector<link>& out = states_[f].out;
  const auto at = position(out, order);
  if (at == out.end() || states_[at->other].order != order) return nullptr;
  return &slots_[at->slot].t;
}

const fsm_transition* machine::find_stored(std::uint32_t from, std::uint32_t to) const {
  const std::vector<link>& out = states_[from].out;
  const auto at = position(out, states_[to].order);
  if (at == out.end() || at->other != to) return nullptr;
  return &slots_[at->slot].t;
}

std::optional<fsm_transition> machine::find(const fsm_state& from, const fsm_state& to) const {
  const fsm_transition* t = find_stored(from, to);
  if (t == nullptr) return std::nullopt;
  return *t;
}

machine::range<machine::link_iterator> machine::links(const std::vector<link>& l) const {
  return {link_iterator(l.data(), slots_.data()), link_iterator(l.data() + l.size(), slots_.data())};
}

machine::range<machine::link_iterator> machine::outgoing(const fsm_state& s) const {
  const std::uint32_t x = state_of(s);
  if (x == kNone) return {};
  return links(states_[x].out);
}

std::vector<fsm_transition> machine::incident_transitions(const fsm_state& s) const {
  std::vector<fsm_transition> result;
  const std::uint32_t x = state_of(s);
  if (x == kNone) return result;
  // In transition order: the entries from states before s, then everything
  // leaving s (a loop among it), then the entries from states after s.
  const state_entry& here = states_[x];
  result.reserve(here.in.size() + here.out.size());
  auto in = here.in.begin();
  for (; in != here.in.end() && states_[in->other].order < here.order; ++in) {
    result.push_back(slots_[in->slot].t);
  }
  for (const link& l : here.out) result.push_back(slots_[l.slot].t);
  for (; in != here.in.end(); ++in) {
    if (in->other != x) result.push_back(slots_[in->slot].t);
  }
  return result;
}

const fsm_state& machine::first_copy(std::uint32_t x) const {
  const state_entry& here = states_[x];
  assert(here.ends > 0);
  if (!here.in.empty() && states_[here.in.front().other].order < here.order) {
    return slots_[here.in.front().slot].t.to;
  }
  if (!here.out.empty()) return slots_[here.out.front().slot].t.from;
  return slots_[here.in.front().slot].t.to;
}

std::optional<fsm_state> machine::next_state_with_event(const event_type& e,
                                                        const fsm_state* after) const {
  const std::uint32_t n = name_of(e);
  if (n == kNone) return std::nullopt;
  const std::vector<std::uint32_t>& held = names_[n].held;
  auto at = held.begin();
  if (after != nullptr) {
    at = std::upper_bound(held.begin(), held.end(), order_of(n, after->id),
                          [this](std::uint64_t order, std::uint32_t x) {
                            return order < states_[x].order;
                          });
  }
  if (at == held.end()) return std::nullopt;
  return first_copy(*at);
}

std::optional<fsm_state> machine::last_state_with_event(const event_type& e) const {
  const std::uint32_t n = name_of(e);
  if (n == kNone || names_[n].held.empty()) return std::nullopt;
  return first_copy(names_[n].held.back());
}

std::optional<fsm_transition> machine::find_transition_to_event(const fsm_state& from,
                                                                const event_type& e) const {
  const std::uint32_t f = state_of(from);
  const std::uint32_t n = name_of(e);
  if (f == kNone || n == kNone) return std::nullopt;
  // Id 0 is the lowest id in state order.
  const std::vector<link>& out = states_[f].out;
  const auto at = position(out, order_of(n, 0));
  if (at == out.end() || states_[at->other].name != n) return std::nullopt;
  return slots_[at->slot].t;
}

std::vector<state_summary> machine::states() const {
  std::vector<state_summary> result;
  for (const std::uint32_t n : names_in_order_) {
    for (const std::uint32_t x : names_[n].held) {
      bool accepting = false;
      for (const link& l : states_[x].in) accepting = accepting || *slots_[l.slot].t.to.accepting;
      for (const link& l : states_[x].out) accepting = accepting || *slots_[l.slot].t.from.accepting;
      result.push_back({first_copy(x), accepting});
    }
  }
  return result;
}

}  // namespace logfsm
