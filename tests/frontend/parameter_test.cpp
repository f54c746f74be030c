#include "frontend/parameter.h"

#include <gtest/gtest.h>

#include <string>

namespace logfsm {
namespace {

constexpr char kInvalid[] = "Invalid argument.";
constexpr char kBelowTwo[] = "Parameter must be 2 or more.";
constexpr char kRange[] = "Parameter is out of range.";

struct parameter_case {
  std::string answer;
  std::int32_t k;       // when `problem` is empty
  const char* problem;  // the message, or "" when k is read
};

// Read like strtol in base 10: blanks, one sign, digits, the rest ignored.
TEST(ReadK, ReadsTheLeadingNumberLikeStrtol) {
  const parameter_case cases[] = {
      {"2", 2, ""},
      {"3abc", 3, ""},
      {" 7", 7, ""},
      {"+5", 5, ""},
      {"3.9", 3, ""},
      {"007", 7, ""},
      {"12 34", 12, ""},
      {"\t\v\f\r\n 9", 9, ""},
      {std::string{'4', '\0', '5'}, 4, ""},
      {"2147483647", 2147483647, ""},
      {"0000000000002147483647", 2147483647, ""},
      {"0x10", 0, kBelowTwo},
      {"1", 0, kBelowTwo},
      {"0", 0, kBelowTwo},
      {"-0", 0, kBelowTwo},
      {"-4", 0, kBelowTwo},
      {"-2147483648", 0, kBelowTwo},
      {"", 0, kInvalid},
      {"abc", 0, kInvalid},
      {"+", 0, kInvalid},
      {"-", 0, kInvalid},
      {"   ", 0, kInvalid},
      {"- 5", 0, kInvalid},
      {"+-5", 0, kInvalid},
      {"-+5", 0, kInvalid},
      {"exit", 0, kInvalid},
      {".5", 0, kInvalid},
      {"x3", 0, kInvalid},
      {std::string{'\xa0', '5'}, 0, kInvalid},
      {std::string{'\0', '5'}, 0, kInvalid},
      {"2147483648", 0, kRange},
      {"-2147483649", 0, kRange},
      {"4294967298", 0, kRange},
      {"123456789012345678901234567890", 0, kRange},
      {"-123456789012345678901234567890", 0, kRange},
      {"99999999999999999999x", 0, kRange},
  };
  for (const parameter_case& c : cases) {
    std::int32_t k = -1;
    const status read = read_k(c.answer, k);
    EXPECT_EQ(read.message(), c.problem) << ::testing::PrintToString(c.answer);
    EXPECT_EQ(k, read.ok() ? c.k : -1) << ::testing::PrintToString(c.answer);
    EXPECT_EQ(read.code(), read.ok() ? status_code::ok : status_code::bad_argument);
  }
}

}  // namespace
}  // namespace logfsm
