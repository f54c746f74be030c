#include "frontend/check_command.h"

namespace logfsm {

int run_check(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
  err << "logfsm check: not available yet\n";
  return 2;
}

}  // namespace logfsm
