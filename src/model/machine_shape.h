// A machine as a plain value: its states with their names and ids, its
// transitions with the events they read, which states are accepting and
// which initial. This is what a model file holds and what everything that
// reads a model works on: replay, the view, evaluation and the Python
// module. A learned machine gives it through shape_of, a model file through
// read_model (checking/model_file.h); both give the same shape for the same
// machine.
//
// A state is named as the model file spells it: its event name, or s0 for
// the empty name (the initial state's, and that of any event the log left
// unnamed). Two states the file spells alike are one state of the shape, as
// they are one text in the file; each transition keeps the event it reads,
// so replay tells the empty name and "s0" apart.
#ifndef LOGFSM_MODEL_MACHINE_SHAPE_H_
#define LOGFSM_MODEL_MACHINE_SHAPE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "model/machine.h"

namespace logfsm {

struct shape_state {
  std::string name;  // as spelled (see above)
  std::int16_t id = 0;
  bool operator==(const shape_state&) const = default;
};

// A transition between the states numbered `from` and `to`, reading the
// event `track` (the event name of `to`, the empty name included).
struct shape_transition {
  std::uint32_t from = 0;
  std::uint32_t to = 0;
  std::string track;
  bool operator==(const shape_transition&) const = default;
};

struct machine_shape {
  std::vector<shape_state> states;
  std::vector<shape_transition> transitions;
  std::vector<std::uint32_t> initial;    // ascending, distinct
  std::vector<std::uint32_t> accepting;  // ascending, distinct

  // The event a transition reads.
  const std::string& track(const shape_transition& t) const { return t.track; }
  bool operator==(const machine_shape&) const = default;
};

// The shape of a learned machine, in the order of its JSON file: every
// state at a transition end in state order (one for each text, the first
// in that order), then the initial state s0(-1) when no transition holds
// it; the transitions in transition order; the states whose flag is set at
// some transition end; the initial state.
machine_shape shape_of(const machine& m);

}  // namespace logfsm

#endif  // LOGFSM_MODEL_MACHINE_SHAPE_H_
