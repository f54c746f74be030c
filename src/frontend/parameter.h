// Reading the algorithm parameter k from an answer line.
#ifndef LOGFSM_FRONTEND_PARAMETER_H_
#define LOGFSM_FRONTEND_PARAMETER_H_

#include <cstdint>
#include <string_view>

#include "base/status.h"

namespace logfsm {

// Reads a base-10 integer from the start of `answer` as strtol does: leading
// white space skipped, one optional sign, then digits up to the first other
// character; the rest is ignored ("3abc" is 3, "0x10" is 0). Sets `k` when
// the value is 2 or more; otherwise fails with bad_argument and "Invalid
// argument." (no digit), "Parameter is out of range." (outside the 32-bit
// signed range) or "Parameter must be 2 or more.".
status read_k(std::string_view answer, std::int32_t& k);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_PARAMETER_H_
