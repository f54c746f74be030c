// `logfsm eval`: k-fold evaluation of a log at several k, to choose k.
#ifndef LOGFSM_FRONTEND_EVAL_COMMAND_H_
#define LOGFSM_FRONTEND_EVAL_COMMAND_H_

#include <ostream>
#include <string>
#include <vector>

#include "frontend/environment.h"

namespace logfsm {

// `args` are the arguments after the word "eval". The report (text, or
// JSON with --json) goes to `out`; problems to `err` as lines starting
// "logfsm eval: "; the progress, when environment.live_progress and not
// --quiet, to `err` as one line rewritten in place. Returns kExitOk,
// kExitEmptyLog when the log holds no event or a fold's training traces
// hold none, kExitUsage, kExitOutputFailed when the --plot file could not be
// written, or kExitNoInput when a log cannot be opened or read.
int run_eval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const program_environment& environment);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_EVAL_COMMAND_H_
