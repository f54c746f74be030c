#include "refinement/replay_repeats.h"

namespace logfsm {

void replay_repeats(fsm_builder& builder) {
  machine& m = builder.transitions;
  for (const trace& w : builder.traces) {
    if (w.empty()) continue;
    fsm_state r;
    if (auto start = m.find_transition_to_event(fsm_state(), *w[0])) r = start->to;
    for (std::size_t j = 1; j < w.size(); ++j) {
      if (w[j]->name == w[j - 1]->name) {
        fsm_transition loop(r, r);
        *loop.used = true;
        m.insert(loop);
      } else if (auto t = m.find_transition_to_event(r, *w[j])) {
        r = t->to;
      }
    }
  }
}

}  // namespace logfsm
