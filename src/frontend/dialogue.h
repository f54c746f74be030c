// The console dialogue: the program's whole interaction when it is started
// without arguments.
//
// It asks for the log file until one opens and ends in ".txt", then for the
// parameter k until it is a number of 2 or more ("exit" at either prompt, or
// the end of input, ends the program with status 0), reads the log, learns
// the machine with progress lines, writes the output files next to the log,
// starts the renderer and says where the files are.
#ifndef LOGFSM_FRONTEND_DIALOGUE_H_
#define LOGFSM_FRONTEND_DIALOGUE_H_

#include <cstdint>
#include <functional>
#include <istream>
#include <ostream>
#include <string>

namespace logfsm {

// Starts rendering of <stem>_out_<k>.dot, reporting failures to `out`.
using render_function =
    std::function<void(const std::string& stem, std::int32_t k, std::ostream& out)>;

// Holds the dialogue on `in` and `out` and returns the exit status
// (frontend/exit_status.h).
int run_dialogue(std::istream& in, std::ostream& out, const render_function& render);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_DIALOGUE_H_
