// The program's entry: the console dialogue without arguments, `check`,
// `convert`, or learning from the command line.
#ifndef LOGFSM_FRONTEND_PROGRAM_H_
#define LOGFSM_FRONTEND_PROGRAM_H_

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "frontend/environment.h"

namespace logfsm {

// The text of `logfsm --help`.
extern const char kUsage[];

// Runs logfsm with `args` (without the program name) and returns the exit
// status: no arguments hold the dialogue on `in` and `out`; "check" replays
// logs on a model; "convert" writes a log as a text log; otherwise the
// arguments are options, LOG and K. Rendering
// and the kind of progress come from `environment` (system_environment()
// for the real program).
int run_program(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err, const program_environment& environment);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_PROGRAM_H_
