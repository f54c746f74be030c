#include "frontend/parameter.h"

#include <charconv>
#include <system_error>

namespace logfsm {
namespace {

bool is_c_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

status problem(const char* message) { return status(status_code::bad_argument, message); }

}  // namespace

status read_k(std::string_view answer, std::int32_t& k) {
  std::size_t i = 0;
  while (i < answer.size() && is_c_space(answer[i])) ++i;
  // from_chars reads a "-" itself but neither blanks nor a "+"; one sign
  // at most.
  const bool plus = i < answer.size() && answer[i] == '+';
  if (plus) ++i;
  const std::size_t digits = !plus && i < answer.size() && answer[i] == '-' ? i + 1 : i;
  if (digits >= answer.size() || !is_digit(answer[digits]))
    return problem("Invalid argument.");
  std::int32_t value = 0;
  const auto [end, error] =
      std::from_chars(answer.data() + i, answer.data() + answer.size(), value);
  if (error == std::errc::result_out_of_range)
    return problem("Parameter is out of range.");
  if (value < 2) return problem("Parameter must be 2 or more.");
  k = value;
  return status();
}

}  // namespace logfsm
