#include "integration/path_creation.h"

#include <cassert>
#include <optional>
#include <vector>

#include "integration/take_over_state.h"
#include "integration/unseen_window.h"

namespace logfsm {
namespace {

// The walk of one window: the result so far, the state reached and the one
// before it.
struct creation_walk {
  path result;
  fsm_state cur;
  fsm_state prev;  // starts as the initial state, whatever the window

  void advance_to(const fsm_state& next) {
    prev = cur;
    cur = next;
  }
};

// Follows the first stored transition from walk.cur to a state named `b`
// (in transition order: the outgoing ones are those of walk.cur's incident
// transitions that leave it, in the same order).
bool follow_existing(const machine& transitions, creation_walk& walk,
                     const std::string& b) {
  for (const fsm_transition& t : transitions.outgoing(walk.cur)) {
    if (t.to.name() == b) {
      *t.used = true;
      walk.result.push_back(t.to);
      walk.advance_to(t.to);
      return true;
    }
  }
  return false;
}

// The provisional transition of a step: the first removed transition from a
// state named `a` to one named `b`, or a new one from walk.cur to a new state
// of `b_event` with id 0.
fsm_transition provisional_transition(const fsm_builder& builder,
                                      const creation_walk& walk,
                                      const std::string& a,
                                      const event_ptr& b_event) {
  for (const fsm_transition& r : builder.removed_transitions) {
    if (r.from.name() == a && r.to.name() == b_event->name) return r;
  }
  return fsm_transition(walk.cur, fsm_state(0, b_event));
}

// Tries every stored state of e.to's event as a target, in state order,
// keeping the first connection that the unseen-window check accepts. `e`
// ends as the last connection tried (unchanged when there was no candidate).
bool connect_to_existing(fsm_builder& builder, walk_scratch& scratch, creation_walk& walk,
                         fsm_transition& e) {
  const machine& m = builder.transitions;
  // When the paths that would end with the new step already spell an unseen
  // window, the check refuses every candidate (none is walk.cur, whose name
  // differs, and only a state of the empty name can be the initial state):
  // they need no trial, and the last one is the last connection tried.
  if (!e.to.name().empty() &&
      ends_unseen_window(builder, scratch, walk.cur, *e.to.event)) {
    if (const std::optional<fsm_state> last = m.last_state_with_event(*e.to.event)) {
      e = fsm_transition(walk.cur, *last);
    }
    return false;
  }
  // The candidates one at a time: a trial inserts and erases a transition
  // from walk.cur, whose name differs, so the states of e.to's name and the
  // copies handed out stay as they were before the first trial.
  const event_ptr name = e.to.event;  // e changes below
  for (std::optional<fsm_state> candidate = m.next_state_with_event(*name, nullptr); candidate;
       candidate = m.next_state_with_event(*name, &*candidate)) {
    const fsm_state& g = *candidate;
    e = fsm_transition(walk.cur, g);
    builder.transitions.insert(e);
    if (!creates_unseen_window(builder, scratch, e)) {
      walk.result.push_back(g);
      walk.advance_to(g);
      *e.used = true;
      return true;
    }
    builder.transitions.erase(e);
  }
  return false;
}

// Replaces walk.cur (named `a`) by a fresh state a2 that leads to the fresh
// state b2: a2 takes over the continuations of every state named `a` at the
// `to` end of prev's transitions, which are erased; prev then leads to a2.
void split(fsm_builder& builder, creation_walk& walk, const fsm_transition& e,
           const std::string& a) {
  machine& m = builder.transitions;
  walk.result.pop_back();
  const fsm_state b2(offset_id(e.to.id, builder.random.next()), e.to.event);
  const fsm_state a2(offset_id(e.from.id, builder.random.next()), e.from.event);
  fsm_transition into_b2(a2, b2);
  walk.result.push_back(a2);
  for (const fsm_transition& q : m.incident_transitions(walk.prev)) {
    if (q.to.name() != a) continue;
    take_over_state(m, q.to, a2);
    m.erase(q);
  }
  fsm_transition into_a2(walk.prev, a2);
  *into_a2.used = true;
  m.insert(into_a2);
  *into_b2.used = true;
  m.insert(into_b2);
  walk.prev = a2;
  walk.cur = b2;
}

// Makes a new state of e.to's event with a drawn id and connects walk.cur to
// it; splits when the unseen-window check refuses the connection.
void create_state(fsm_builder& builder, walk_scratch& scratch, creation_walk& walk,
                  const fsm_transition& e, const std::string& a) {
  machine& m = builder.transitions;
  const fsm_state nb(offset_id(e.to.id, builder.random.next()), e.to.event);
  fsm_transition d(walk.cur, nb);
  m.insert(d);
  if (!creates_unseen_window(builder, scratch, d)) {
    walk.advance_to(nb);
    *d.used = true;
  } else {
    m.erase(d);
    split(builder, walk, e, a);
  }
  walk.result.push_back(walk.cur);
}

}  // namespace

path extend_for_window(fsm_builder& builder, walk_scratch& scratch, const window& w,
                       const fsm_state& current) {
  assert(w.size() >= 2);
  assert(w[0]->name == current.name());
  creation_walk walk{{current}, current, fsm_state()};
  for (std::size_t i = 0; i + 1 < w.size(); ++i) {
    const std::string& a = w[i]->name;
    const std::string& b = w[i + 1]->name;
    if (follow_existing(builder.transitions, walk, b)) continue;
    fsm_transition e = provisional_transition(builder, walk, a, w[i + 1]);
    if (connect_to_existing(builder, scratch, walk, e)) continue;
    create_state(builder, scratch, walk, e, a);
  }
  return walk.result;
}

}  // namespace logfsm
