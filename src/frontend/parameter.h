// Reading the algorithm parameter from an answer line.
#ifndef LOGFSM_FRONTEND_PARAMETER_H_
#define LOGFSM_FRONTEND_PARAMETER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace logfsm {

enum class parameter_status { ok, no_number, out_of_range };

struct parameter_reading {
  parameter_status status;
  std::int32_t value;  // meaningful when status is ok
};

// Reads a base-10 integer from the start of `answer` as strtol does: leading
// white space skipped, one optional sign, then digits up to the first other
// character; the rest is ignored ("3abc" is 3, "0x10" is 0). No digit gives
// no_number; a value outside the 32-bit signed range gives out_of_range.
parameter_reading read_parameter(std::string_view answer);

// Reads `answer` as a parameter k: the value when it is 2 or more, else the
// message that says why not ("Invalid argument.", "Parameter is out of
// range." or "Parameter must be 2 or more.") in `problem`.
std::optional<std::int32_t> read_k(std::string_view answer, std::string& problem);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_PARAMETER_H_
