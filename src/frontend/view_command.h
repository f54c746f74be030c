// `logfsm view [-o FILE] [--examples N] [-q] [reading options] MODEL.json
// LOG`: the HTML view of a learned machine with the traces of a log
// (view/view_page.h).
#ifndef LOGFSM_FRONTEND_VIEW_COMMAND_H_
#define LOGFSM_FRONTEND_VIEW_COMMAND_H_

#include <cstddef>

#include "base/status.h"
#include "frontend/command_line.h"
#include "frontend/commands.h"

namespace logfsm {

// The handler of `view` (frontend/commands.h): call.line holds MODEL.json,
// LOG, and perhaps --examples N and -o FILE (default: MODEL without
// ".json", plus ".html"). Writes FILE completely or not at all and, unless
// -q, names it on a line of call.out. Failures go to call.err as lines
// starting "logfsm view: ". Returns kExitOk, kExitUsage (also for a build
// that writes no HTML view), kExitOutputFailed, kExitNoInput or
// kExitBadModel.
int run_view(const command_call& call);

// Reads --examples from `line` into `examples` (a whole number, at most
// 1000000); bad_argument otherwise.
status read_examples(const parsed_command_line& line, std::size_t& examples);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_VIEW_COMMAND_H_
