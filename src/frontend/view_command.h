// `logfsm view [options] MODEL.json LOG [-o OUT.html]`: the HTML view of a
// learned machine with the traces of a log (view/view_page.h).
#ifndef LOGFSM_FRONTEND_VIEW_COMMAND_H_
#define LOGFSM_FRONTEND_VIEW_COMMAND_H_

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "base/status.h"
#include "frontend/command_line.h"

namespace logfsm {

// `args` are the arguments after the word "view": the reading options,
// --examples N, -o OUT.html (default: MODEL without ".json", plus ".html"),
// -q, --help. Writes OUT completely or not at all and, unless -q, names it
// on a line of `out`. Failures go to
// `err` as lines starting "logfsm view: ". Returns kExitOk, kExitUsage (also
// for a build that writes no HTML view), kExitOutputFailed, kExitNoInput or
// kExitBadModel.
int run_view(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Reads --examples from `line` into `examples` (a whole number, at most
// 1000000); bad_argument otherwise.
status read_examples(const parsed_command_line& line, std::size_t& examples);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_VIEW_COMMAND_H_
