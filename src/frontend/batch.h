// Learning without prompts: `logfsm [options] LOG K`.
#ifndef LOGFSM_FRONTEND_BATCH_H_
#define LOGFSM_FRONTEND_BATCH_H_

#include <functional>
#include <ostream>
#include <string>

namespace logfsm {

struct batch_request {
  std::string log;
  std::string k;  // as given; read like the dialogue's answer
  bool render = true;
  std::string format = "png";  // what dot is asked for
  std::string output_dir;      // empty: next to the log
  bool quiet = false;          // no progress at all
};

// How a batch run shows its progress and starts dot.
struct batch_environment {
  // Progress as one line on `err`, rewritten in place, instead of progress
  // lines on `out`: for a person watching a terminal.
  bool live_progress = false;
  std::function<void(const std::string& dot_file, const std::string& format,
                     std::ostream& report)>
      start_dot;
};

// Checks the request as the dialogue checks its answers, with the same
// messages, on `err`; learns; writes the DOT and JSON files (same names and
// bytes as the dialogue; in `output_dir`, made when missing, when given);
// starts dot unless told not to; ends with a one-line summary on `out`.
// Returns the exit status (frontend/exit_status.h).
int run_batch(const batch_request& request, std::ostream& out, std::ostream& err,
              const batch_environment& environment);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_BATCH_H_
