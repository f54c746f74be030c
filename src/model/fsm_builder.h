// The learning context: k, the traces, the statistics gathered from them,
// the machine being learned and the records integration keeps.
//
// Exactly one builder exists per learning run; the passes (statistics,
// seeding, integration, refinement, writers) are operations on it. It owns
// its containers; events and flags inside them are shared.
#ifndef LOGFSM_MODEL_FSM_BUILDER_H_
#define LOGFSM_MODEL_FSM_BUILDER_H_

#include <cstdint>
#include <set>
#include <vector>

#include "model/event_log.h"
#include "model/fsm_transition.h"
#include "model/machine.h"
#include "model/pseudo_random.h"
#include "model/window.h"
#include "model/window_set.h"

namespace logfsm {

struct fsm_builder {
  // Makes one event object per distinct name of `log` (all from one table)
  // and keeps every line as a trace, empty ones included. Requires: k >= 2.
  fsm_builder(const event_log& log, std::int32_t k);
  fsm_builder(const fsm_builder&) = delete;
  fsm_builder& operator=(const fsm_builder&) = delete;

  std::int32_t k;
  machine transitions;
  std::vector<trace> traces;
  window_set observed_windows;
  std::set<event_pair, event_pair_less> successor_pairs;
  // Transitions that pruning took out of the machine, in removal order.
  std::vector<fsm_transition> removed_transitions;
  // The sequence that numbers new states, drawn in call order.
  pseudo_random random;
};

}  // namespace logfsm

#endif  // LOGFSM_MODEL_FSM_BUILDER_H_
