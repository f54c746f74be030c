// The learned machine: a set of transitions in transition order and the
// queries that every pass uses to look at it.
//
// Iteration is in transition order (by `from`, then `to`). The set holds one
// element per pair of ends: inserting a transition equal to a stored one
// leaves the stored one, with its own `used` flag, unchanged. Queries return
// copies of stored elements (or references to them), which share the stored
// states' events and flags and the stored transitions' `used` flags, so a
// pass can mark the machine through them. Every answer is exactly what a scan
// of the set in order would give, down to which copy of a state it hands
// out; the passes depend only on this interface.
//
// Inside, states are numbered densely as they first appear (a state is an
// event name and an id) and found by a hash of both; each state keeps the
// transitions leaving it and those entering it in two arrays sorted in
// transition order, and each name the states that hold a transition end, in
// state order. The stored transitions live in one array of slots, reused
// after erasure. Costs: finding a state is a hash lookup; `find`, `insert`
// and `erase` add a binary search (and a shift) within one state's arrays;
// the other queries cost the size of their answer.
#ifndef LOGFSM_MODEL_MACHINE_H_
#define LOGFSM_MODEL_MACHINE_H_

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "model/event.h"
#include "model/fsm_state.h"
#include "model/fsm_transition.h"
#include "model/name_numbers.h"

namespace logfsm {

// A state of the machine as the writers and the cleanup see it: the copy met
// first in transition order (a transition's `from` before its `to`), and
// whether the flag of any copy held at a transition end is set.
struct state_summary {
  fsm_state state;
  bool accepting;
};

class machine {
 private:
  // A stored transition and the numbers of its two states.
  struct slot {
    fsm_transition t;
    std::uint32_t from, to;
  };
  // One entry of a state's adjacency: the state at the other end and the
  // slot of the transition.
  struct link {
    std::uint32_t other;
    std::uint32_t slot;
  };

 public:
  // Iterates stored transitions of one adjacency array, in transition order.
  class link_iterator {
   public:
    using iterator_category = std::bidirectional_iterator_tag;
    using value_type = fsm_transition;
    using difference_type = std::ptrdiff_t;
    using pointer = const fsm_transition*;
    using reference = const fsm_transition&;

    link_iterator() = default;
    link_iterator(const link* at, const slot* slots) : at_(at), slots_(slots) {}
    reference operator*() const { return slots_[at_->slot].t; }
    pointer operator->() const { return &**this; }
    link_iterator& operator++() {
      ++at_;
      return *this;
    }
    link_iterator operator++(int) {
      link_iterator before = *this;
      ++at_;
      return before;
    }
    link_iterator& operator--() {
      --at_;
      return *this;
    }
    link_iterator operator--(int) {
      link_iterator before = *this;
      --at_;
      return before;
    }
    bool operator==(const link_iterator& other) const { return at_ == other.at_; }
    // The number (see state_number) of the state at the other end.
    std::uint32_t other_number() const { return at_->other; }

   private:
    const link* at_ = nullptr;
    const slot* slots_ = nullptr;
  };

  // Iterates every stored transition in transition order.
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = fsm_transition;
    using difference_type = std::ptrdiff_t;
    using pointer = const fsm_transition*;
    using reference = const fsm_transition&;

    const_iterator() = default;
    reference operator*() const;
    pointer operator->() const { return &**this; }
    const_iterator& operator++();
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const const_iterator& other) const {
      return name_ == other.name_ && state_ == other.state_ && link_ == other.link_;
    }

   private:
    friend class machine;
    const_iterator(const machine* m, std::size_t name) : m_(m), name_(name) { settle(); }
    // Moves forward to the next transition, if the position holds none.
    void settle();

    const machine* m_ = nullptr;
    std::size_t name_ = 0, state_ = 0, link_ = 0;
  };

  // A view of stored transitions; valid until the machine changes.
  template <typename Iterator>
  struct range {
    Iterator first, last;
    Iterator begin() const { return first; }
    Iterator end() const { return last; }
    bool empty() const { return first == last; }
  };

  machine() = default;
  // A copy holds copies of the stored transitions (sharing their flags).
  machine(const machine& other);
  machine& operator=(const machine& other);
  machine(machine&&) = default;
  // Takes other's contents, which are new to this machine: see replaced().
  machine& operator=(machine&& other) noexcept;

  // Stores a copy of `t` (sharing its parts) unless a transition with equal
  // ends is stored. Returns true when `t` was added.
  bool insert(const fsm_transition& t);
  // Erases the stored transition with the same ends as `t`, if any.
  bool erase(const fsm_transition& t);
  // The stored transition from `from` to `to`, if any.
  std::optional<fsm_transition> find(const fsm_state& from,
                                     const fsm_state& to) const;
  // The same without a copy: the stored transition, valid until the machine
  // changes; null when none is stored.
  const fsm_transition* find_stored(const fsm_state& from,
                                    const fsm_state& to) const;

  // Every stored transition with `s` at either end (a loop once), in
  // transition order. A snapshot: later changes to the machine do not
  // change it.
  std::vector<fsm_transition> incident_transitions(const fsm_state& s) const;

  // Of the states at a transition end named like `e`, each once, in state
  // order (so by id), each as the copy taken from the first transition in
  // order that carries it (`from` before `to`): the one after `after` (a
  // state named like `e`), or the first when `after` is null; none after
  // the last.
  std::optional<fsm_state> next_state_with_event(const event_type& e,
                                                 const fsm_state* after) const;
  // The last of those states, without going through the others.
  std::optional<fsm_state> last_state_with_event(const event_type& e) const;

  // The stored transition from `from` to the lowest state, in state order,
  // that is named like `e` and that `from` leads to; none when `from` leads
  // to no state of that name.
  std::optional<fsm_transition> find_transition_to_event(
      const fsm_state& from, const event_type& e) const;

  // Every state at a transition end, once, in state order.
  std::vector<state_summary> states() const;

  // The stored transitions leaving `s`, in transition order.
  range<link_iterator> outgoing(const fsm_state& s) const;

  // Each state the machine has held at a transition end keeps one number,
  // below state_count(), for the machine's life (also after its last
  // transition is erased): a key for tables about states that costs no
  // lookup. kNoState for a state never held.
  static constexpr std::uint32_t kNoState = UINT32_MAX;
  std::uint32_t state_number(const fsm_state& s) const { return state_of(s); }
  std::size_t state_count() const { return states_.size(); }
  // outgoing(s) for the state numbered `number`.
  range<link_iterator> outgoing_of(std::uint32_t number) const { return links(states_[number].out); }
  // The stored transitions entering the state numbered `number`, in
  // transition order (a loop is in both lists).
  range<link_iterator> incoming_of(std::uint32_t number) const { return links(states_[number].in); }
  // A mark of the machine's contents, new after every insertion and erasure
  // (and never shared by two machines' contents): while it stays, pointers
  // from find_stored stay valid.
  std::uint64_t stamp() const { return stamp_; }
  // find_stored(from, to) for the states numbered so.
  const fsm_transition* find_stored(std::uint32_t from, std::uint32_t to) const;
  // The stamp of the last insertion or erasure of a transition leaving the
  // state numbered `number` (0 when none was made in this machine). Stamps
  // only grow, so a caller that noted stamp() at some moment knows the
  // state's outgoing transitions are the same objects, in the same order, as
  // then while this is no greater and replaced() is no greater either.
  std::uint64_t outgoing_changed(std::uint32_t number) const { return states_[number].out_changed; }
  // The stamp the machine took with another's contents when last assigned
  // them (0 when never).
  std::uint64_t replaced() const { return replaced_; }

  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, names_in_order_.size()); }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

 private:
  static constexpr std::uint32_t kNone = kNoState;

  struct name_entry {
    std::uint32_t rank;  // among the machine's names, in name order
    // The states of this name at a transition end, in state order.
    std::vector<std::uint32_t> held;
  };
  struct state_entry {
    // The position in state order: the name's rank among the machine's
    // names, then the id as an unsigned 16-bit number (which is the order of
    // state_less_ids).
    std::uint64_t order;
    std::uint32_t name;
    std::int16_t id;
    std::uint32_t ends = 0;  // transition ends held
    std::uint64_t out_changed = 0;  // see outgoing_changed
    std::vector<link> out;   // by the `to` state's order
    std::vector<link> in;    // by the `from` state's order
  };

  std::uint32_t name_of(const event_type& e) const;
  std::uint32_t add_name(const event_type& e);
  std::uint32_t state_of(const fsm_state& s) const;
  std::uint32_t add_state(const fsm_state& s);
  std::uint64_t order_of(std::uint32_t name, std::int16_t id) const;
  // Where a link to a state of order `order` stands (or would stand) in
  // `links`.
  std::vector<link>::const_iterator position(const std::vector<link>& links,
                                             std::uint64_t order) const;
  void hold(std::uint32_t state);
  void release(std::uint32_t state);
  range<link_iterator> links(const std::vector<link>& l) const;
  // The copy of state `s` held by the first transition in order that
  // carries it. Requires: some stored transition carries s.
  const fsm_state& first_copy(std::uint32_t s) const;

  // The state table, found by (name, id).
  std::vector<name_entry> names_;  // by the name's number in name_numbers_
  std::vector<std::uint32_t> names_in_order_;  // name numbers by name
  name_numbers name_numbers_;
  // Events of one table (the first one met) find their name by rank.
  std::uint64_t table_ = 0;
  std::vector<std::uint32_t> name_by_rank_;
  std::vector<state_entry> states_;
  std::vector<std::uint32_t> state_hash_;  // open addressing, kNone if empty

  std::vector<slot> slots_;
  std::vector<std::uint32_t> free_slots_;
  std::size_t size_ = 0;
  std::uint64_t stamp_ = 0;
  std::uint64_t replaced_ = 0;
};

}  // namespace logfsm

#endif  // LOGFSM_MODEL_MACHINE_H_
