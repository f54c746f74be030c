// `logfsm convert [options] IN OUT`: writes the traces of a log in any
// format the readers read as a `;` text log, or as a CSV event table when
// OUT ends in ".csv".
#ifndef LOGFSM_FRONTEND_CONVERT_COMMAND_H_
#define LOGFSM_FRONTEND_CONVERT_COMMAND_H_

#include <ostream>
#include <string>
#include <vector>

namespace logfsm {

// `args` are the arguments after the word "convert": the reading options,
// -q, --help, IN and OUT ("-" for `out`). OUT is written completely or not
// at all (a device or FIFO is written directly). In the text log, names
// holding ";", CR or LF are written with "_" in their place. The reader's
// notes, what the writer changed, a one-line summary (unless -q) and every
// failure go to `err` as lines starting "logfsm convert: ". Returns kExitOk, kExitUsage, kExitOutputFailed or
// kExitNoInput (a log that cannot be opened or read in its format).
int run_convert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_CONVERT_COMMAND_H_
