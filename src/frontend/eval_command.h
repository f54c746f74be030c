// `logfsm eval`: k-fold evaluation of a log at several k, to choose k.
#ifndef LOGFSM_FRONTEND_EVAL_COMMAND_H_
#define LOGFSM_FRONTEND_EVAL_COMMAND_H_

#include "frontend/commands.h"

namespace logfsm {

// The handler of `eval` (frontend/commands.h): call.line holds LOG and the
// options (--k, --folds, --jobs, --negatives, --plot, --json, -q). The
// report (text, or JSON with --json) goes to call.out; problems to call.err
// as lines starting "logfsm eval: "; the progress, when
// environment.live_progress and not --quiet, to call.err as one line
// rewritten in place. Returns kExitOk, kExitEmptyLog when the log holds no
// event or a fold's training traces hold none, kExitUsage (also for a bad
// --k, --folds or --jobs), kExitOutputFailed when the --plot file could not
// be written, or kExitNoInput when a log cannot be opened or read.
int run_eval(const command_call& call);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_EVAL_COMMAND_H_
