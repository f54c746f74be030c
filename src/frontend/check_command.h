// `logfsm check [--json] [reading options] MODEL.json LOG`: replays every
// trace of LOG (in any format the readers read) on the
// machine that logfsm wrote to MODEL.json and explains each rejected trace
// (checking/replay.h, checking/check_report.h).
#ifndef LOGFSM_FRONTEND_CHECK_COMMAND_H_
#define LOGFSM_FRONTEND_CHECK_COMMAND_H_

#include "frontend/commands.h"

namespace logfsm {

// The handler of `check` (frontend/commands.h): call.line holds MODEL.json
// and LOG. The report goes to call.out, as one JSON document with --json; a
// file that cannot be used to call.err as a line starting "logfsm check: ".
// The model is read before the log. Returns kExitOk when every trace is
// accepted (an empty log included), kExitRejected when some trace is
// rejected, kExitNoInput when a file cannot be opened or read, and
// kExitBadModel when MODEL.json is not a logfsm machine.
int run_check(const command_call& call);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_CHECK_COMMAND_H_
