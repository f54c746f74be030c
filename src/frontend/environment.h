// What a run of logfsm takes from the world besides its arguments and
// standard streams, so that tests can stand in for it.
#ifndef LOGFSM_FRONTEND_ENVIRONMENT_H_
#define LOGFSM_FRONTEND_ENVIRONMENT_H_

#include "output/renderer.h"

namespace logfsm {

struct program_environment {
  // Starts Graphviz dot on a written DOT file.
  render_function render;
  // Standard error is a terminal: the command line shows its progress there
  // as one line rewritten in place, for a person watching it.
  bool live_progress = false;
};

// The real one: output/renderer.h's start_dot, and whether standard error is
// a terminal.
program_environment system_environment();

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_ENVIRONMENT_H_
