// Learning without prompts: `logfsm [options] LOG K`.
#ifndef LOGFSM_FRONTEND_BATCH_H_
#define LOGFSM_FRONTEND_BATCH_H_

#include <cstddef>
#include <ostream>
#include <string>

#include "frontend/commands.h"
#include "frontend/environment.h"
#include "readers/read_options.h"
#include "view/view_page.h"

namespace logfsm {

struct batch_request {
  std::string log;
  std::string k;  // as given; read like the dialogue's answer
  bool render = true;
  std::string format = "png";  // what dot is asked for
  std::string output_dir;      // empty: next to the log
  bool quiet = false;          // no progress at all
  read_options reading;        // how the log is read
  bool html = false;           // also write the HTML view
  // Trace lines the view keeps per state and transition.
  std::size_t examples = kDefaultExamples;
};

// Checks the request as the dialogue checks its answers, with the same
// messages, on `err`; learns; writes the DOT and JSON files (same names and
// bytes as the dialogue; in `output_dir`, made when missing, when given);
// starts dot unless told not to (a one-line hint on `err` when it cannot
// start); ends with a one-line summary on `out` naming the files written.
// Progress goes to `out` as the dialogue's lines, or as one live line on
// `err` when the environment says so; the reader's notes and failures go to
// `err` as "logfsm: LOG: ...". Returns the exit status
// (frontend/exit_status.h).
int run_batch(const batch_request& request, std::ostream& out, std::ostream& err,
              const program_environment& environment);

// The handler of learning (frontend/commands.h): the request from its
// options, LOG and K; --format other than png, svg or pdf, a bad
// --examples, or --html in a build that writes no HTML view fail as a wrong
// command line; then run_batch.
int run_learn(const command_call& call);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_BATCH_H_
