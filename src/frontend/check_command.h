// `logfsm check MODEL.json LOG` (being written).
#ifndef LOGFSM_FRONTEND_CHECK_COMMAND_H_
#define LOGFSM_FRONTEND_CHECK_COMMAND_H_

#include <ostream>
#include <string>
#include <vector>

namespace logfsm {

int run_check(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_CHECK_COMMAND_H_
