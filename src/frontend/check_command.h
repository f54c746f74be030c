// `logfsm check [--json] [reading options] MODEL.json LOG`: replays every
// trace of LOG (in any format the readers read) on the
// machine that logfsm wrote to MODEL.json and explains each rejected trace
// (checking/replay.h, checking/check_report.h).
#ifndef LOGFSM_FRONTEND_CHECK_COMMAND_H_
#define LOGFSM_FRONTEND_CHECK_COMMAND_H_

#include <ostream>
#include <string>
#include <vector>

namespace logfsm {

// `args` are the arguments after the word "check". Options (--json, and
// --help or -h for the usage on `out`) may come anywhere before "--", which
// makes every later argument a file name. The report goes to `out`; a wrong
// command line, or a file that cannot be used, to `err` as a line starting
// "logfsm check: ". The model is read before the log. Returns kExitOk when
// every trace is accepted (an empty log included), kExitRejected when some
// trace is rejected, kExitUsage, kExitNoInput when a file cannot be opened
// or read, and kExitBadModel when MODEL.json is not a logfsm machine.
int run_check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_CHECK_COMMAND_H_
