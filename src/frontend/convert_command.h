// `logfsm convert [-q] [reading options] IN OUT.txt`: writes the traces of a
// log in any format the readers read as a `;` text log.
#ifndef LOGFSM_FRONTEND_CONVERT_COMMAND_H_
#define LOGFSM_FRONTEND_CONVERT_COMMAND_H_

#include "frontend/commands.h"

namespace logfsm {

// The handler of `convert` (frontend/commands.h): call.line holds IN and
// OUT.txt ("-" for call.out). OUT.txt is written completely or not at all.
// Names holding ";", CR or LF are written with "_" in their place, and
// call.err says how many names were changed. The reader's notes, a one-line
// summary (unless -q) and every failure go to call.err as lines starting
// "logfsm convert: ". Returns kExitOk, kExitUsage, kExitOutputFailed or
// kExitNoInput (a log that cannot be opened or read in its format).
int run_convert(const command_call& call);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_CONVERT_COMMAND_H_
