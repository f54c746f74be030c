// The program's entry: the console dialogue without arguments, else the
// command named by the first argument (frontend/commands.h), or learning
// from the command line when it names none. One driver reads the command
// line of every command.
#ifndef LOGFSM_FRONTEND_PROGRAM_H_
#define LOGFSM_FRONTEND_PROGRAM_H_

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "frontend/environment.h"

namespace logfsm {

// Runs logfsm with `args` (without the program name) and returns the exit
// status: no arguments hold the dialogue on `in` and `out`; a first argument
// that names a command runs it with the arguments after it; otherwise the
// arguments are learning's options, LOG and K. For a command, the arguments
// are parsed with its options; -h/--help writes its help (learning's: the
// program's) to `out`, and --version (learning only) the version; a wrong
// command line (an unknown option, a missing value, too few or too many
// arguments, bad reading options) is reported on `err` as "logfsm NAME:
// WHY" (learning: "logfsm: WHY"), the usage line and where help is, with
// kExitUsage; else the command's handler runs. Rendering and the kind of
// progress come from `environment` (system_environment() for the real
// program).
int run_program(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err, const program_environment& environment);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_PROGRAM_H_
