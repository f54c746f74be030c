// The exit statuses of the program, shared by every way of running it.
#ifndef LOGFSM_FRONTEND_EXIT_STATUS_H_
#define LOGFSM_FRONTEND_EXIT_STATUS_H_

#include "base/status.h"

namespace logfsm {

// A completed run, "exit" at a prompt, or the end of input at a prompt; for
// `check`, every trace accepted.
inline constexpr int kExitOk = 0;
// The log holds no line or no event; for `check`, some trace rejected.
inline constexpr int kExitEmptyLog = 1;
inline constexpr int kExitRejected = 1;
// The command line is wrong: an unknown option, a missing or extra argument,
// a parameter that is not a number of 2 or more, a log name without ".txt".
inline constexpr int kExitUsage = 2;
// An output file could not be written; earlier files of that name are kept.
inline constexpr int kExitOutputFailed = 3;
// An input file (log or model) cannot be opened or read, or a log is not
// well-formed in its format.
inline constexpr int kExitNoInput = 4;
// A model file is not a machine written by logfsm.
inline constexpr int kExitBadModel = 5;

// The exit status of a run that ends with a status of `code`.
inline constexpr int exit_status_for(status_code code) {
  switch (code) {
    case status_code::ok: return kExitOk;
    case status_code::empty_log: return kExitEmptyLog;
    case status_code::bad_argument: return kExitUsage;
    case status_code::cannot_write: return kExitOutputFailed;
    case status_code::cannot_read: return kExitNoInput;
    case status_code::bad_log: return kExitNoInput;
    case status_code::bad_model: return kExitBadModel;
  }
  return kExitUsage;
}

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_EXIT_STATUS_H_
