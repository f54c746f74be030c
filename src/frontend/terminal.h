// Whether standard error is a terminal (platform calls).
#ifndef LOGFSM_FRONTEND_TERMINAL_H_
#define LOGFSM_FRONTEND_TERMINAL_H_

namespace logfsm {

bool stderr_is_terminal();

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_TERMINAL_H_
