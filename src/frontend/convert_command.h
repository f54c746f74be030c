// `logfsm convert [-q] [reading options] IN OUT`: writes the traces of a log
// in any format the readers read as a `;` text log, or as a CSV event table
// when OUT ends in ".csv".
#ifndef LOGFSM_FRONTEND_CONVERT_COMMAND_H_
#define LOGFSM_FRONTEND_CONVERT_COMMAND_H_

#include "frontend/commands.h"

namespace logfsm {

// The handler of `convert` (frontend/commands.h): call.line holds IN and OUT
// ("-" for call.out). OUT is written completely or not at all (a device or
// FIFO is written directly). In the text log, names holding ";", CR or LF
// are written with "_" in their place. The reader's notes, what the writer
// changed, a one-line summary (unless -q) and every failure go to call.err
// as lines starting "logfsm convert: ". Returns kExitOk, kExitUsage,
// kExitOutputFailed or kExitNoInput (a log that cannot be opened or read in
// its format).
int run_convert(const command_call& call);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_CONVERT_COMMAND_H_
