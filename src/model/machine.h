// The learned machine: the ordered set of transitions and the queries that
// every pass uses to look at it.
//
// Iteration is in transition order (by `from`, then `to`). The set holds one
// element per pair of ends: inserting a transition equal to a stored one
// leaves the stored one, with its own `used` flag, unchanged. Queries return
// copies of stored elements, which share the stored states' events and flags
// and the stored transitions' `used` flags, so a pass can mark the machine
// through them.
//
// Two indexes stand behind the queries: the transitions leaving a state are a
// contiguous range of the ordered set, the transitions entering a state a
// range of a second set ordered by (`to`, `from`), and a count of transition
// ends per state lists the states of an event. They answer exactly as scans
// of the set in order would, handing out the same copies: O(log n) for a
// lookup, plus the size of the answer. The passes depend only on this
// interface.
#ifndef LOGFSM_MODEL_MACHINE_H_
#define LOGFSM_MODEL_MACHINE_H_

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "model/event.h"
#include "model/fsm_state.h"
#include "model/fsm_transition.h"

namespace logfsm {

// A state of the machine as the writers and the cleanup see it: the copy met
// first in transition order (a transition's `from` before its `to`), and
// whether the flag of any copy held at a transition end is set.
struct state_summary {
  fsm_state state;
  bool accepting;
};

// Orders stored transitions by (`to`, `from`): the index of entries. A state
// as key sorts before every transition entering it.
struct incoming_order {
  using is_transparent = void;
  bool operator()(const fsm_transition* a, const fsm_transition* b) const;
  bool operator()(const fsm_transition* a, const fsm_state& to) const;
  bool operator()(const fsm_state& to, const fsm_transition* b) const;
};

class machine {
 public:
  using set_type = std::set<fsm_transition, transition_less>;
  using const_iterator = set_type::const_iterator;
  using incoming_set = std::set<const fsm_transition*, incoming_order>;

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
  machine& operator=(machine&&) = default;

  // Stores a copy of `t` (sharing its parts) unless a transition with equal
  // ends is stored. Returns true when `t` was added.
  bool insert(const fsm_transition& t);
  // Erases the stored transition with the same ends as `t`, if any.
  bool erase(const fsm_transition& t);
  // The stored transition from `from` to `to`, if any.
  std::optional<fsm_transition> find(const fsm_state& from,
                                     const fsm_state& to) const;

  // Every stored transition with `s` at either end (a loop once), in
  // transition order. A snapshot: later changes to the machine do not
  // change it.
  std::vector<fsm_transition> incident_transitions(const fsm_state& s) const;

  // Every state at a transition end whose event is named like `e`, once, in
  // state order (so by id). Each is the copy taken from the first transition
  // in order that carries it, `from` before `to`.
  std::vector<fsm_state> states_with_event(const event_type& e) const;

  // The stored transition from `from` to the lowest state, in state order,
  // that is named like `e` and that `from` leads to; none when `from` leads
  // to no state of that name.
  std::optional<fsm_transition> find_transition_to_event(
      const fsm_state& from, const event_type& e) const;

  // Every state at a transition end, once, in state order.
  std::vector<state_summary> states() const;

  // The stored transitions leaving `s` and entering `s` (each dereferences
  // to a `const fsm_transition*`), in transition order. A loop on s is in
  // both.
  range<const_iterator> outgoing(const fsm_state& s) const;
  range<incoming_set::const_iterator> incoming(const fsm_state& s) const;

  const_iterator begin() const { return transitions_.begin(); }
  const_iterator end() const { return transitions_.end(); }
  std::size_t size() const { return transitions_.size(); }
  bool empty() const { return transitions_.empty(); }

 private:
  // The copy of `s` held by the first transition in order that carries it.
  // Requires: some stored transition carries s.
  const fsm_state& first_copy(const fsm_state& s) const;

  set_type transitions_;
  incoming_set incoming_;
  std::map<fsm_state, int, state_less> ends_;  // transition ends per state
};

}  // namespace logfsm

#endif  // LOGFSM_MODEL_MACHINE_H_
