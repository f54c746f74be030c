#include "frontend/parameter.h"

#include <limits>

namespace logfsm {
namespace {

bool is_c_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

parameter_reading read_parameter(std::string_view answer) {
  std::size_t i = 0;
  while (i < answer.size() && is_c_space(answer[i])) ++i;
  bool negative = false;
  if (i < answer.size() && (answer[i] == '+' || answer[i] == '-')) {
    negative = answer[i] == '-';
    ++i;
  }
  if (i >= answer.size() || !is_digit(answer[i])) {
    return {parameter_status::no_number, 0};
  }
  // The magnitude is kept in 64 bits and capped just above the 32-bit range.
  constexpr std::int64_t kLimit =
      static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
  std::int64_t magnitude = 0;
  for (; i < answer.size() && is_digit(answer[i]); ++i) {
    magnitude = magnitude * 10 + (answer[i] - '0');
    if (magnitude > kLimit) magnitude = kLimit + 1;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max() ||
      value < std::numeric_limits<std::int32_t>::min()) {
    return {parameter_status::out_of_range, 0};
  }
  return {parameter_status::ok, static_cast<std::int32_t>(value)};
}

std::optional<std::int32_t> read_k(std::string_view answer, std::string& problem) {
  const parameter_reading reading = read_parameter(answer);
  if (reading.status == parameter_status::no_number) {
    problem = "Invalid argument.";
  } else if (reading.status == parameter_status::out_of_range) {
    problem = "Parameter is out of range.";
  } else if (reading.value < 2) {
    problem = "Parameter must be 2 or more.";
  } else {
    return reading.value;
  }
  return std::nullopt;
}

}  // namespace logfsm
