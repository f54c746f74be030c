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

#include <istream>
#include <ostream>

#include "output/renderer.h"

namespace logfsm {

// Holds the dialogue on `in` and `out` and returns the exit status
// (frontend/exit_status.h). `render` is asked for a PNG of the DOT file;
// when it cannot start, its error code stands alone on a line of `out` and
// a hint goes to `err`.
int run_dialogue(std::istream& in, std::ostream& out, std::ostream& err,
                 const render_function& render);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_DIALOGUE_H_
