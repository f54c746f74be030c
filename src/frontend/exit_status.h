// The exit statuses of the program.
#ifndef LOGFSM_FRONTEND_EXIT_STATUS_H_
#define LOGFSM_FRONTEND_EXIT_STATUS_H_

namespace logfsm {

// A completed run, "exit" at a prompt, or the end of input at a prompt.
inline constexpr int kExitOk = 0;
// The log holds no line or no event.
inline constexpr int kExitEmptyLog = 1;
// An output file could not be written; earlier files of that name are kept.
inline constexpr int kExitOutputFailed = 3;

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_EXIT_STATUS_H_
