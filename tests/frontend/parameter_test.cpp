#include "frontend/parameter.h"

#include <gtest/gtest.h>

#include <string>

namespace logfsm {
namespace {

struct parameter_case {
  std::string answer;
  parameter_status status;
  std::int32_t value;  // checked when status is ok
};

void PrintTo(const parameter_case& c, std::ostream* out) {
  *out << ::testing::PrintToString(c.answer);
}

class ParameterTest : public ::testing::TestWithParam<parameter_case> {};

TEST_P(ParameterTest, ReadsLikeStrtolInBase10) {
  const parameter_case& c = GetParam();
  const parameter_reading r = read_parameter(c.answer);
  EXPECT_EQ(r.status, c.status);
  if (c.status == parameter_status::ok) {
    EXPECT_EQ(r.value, c.value);
  }
}

constexpr parameter_status ok = parameter_status::ok;
constexpr parameter_status none = parameter_status::no_number;
constexpr parameter_status range = parameter_status::out_of_range;

INSTANTIATE_TEST_SUITE_P(
    Numbers, ParameterTest,
    ::testing::Values(parameter_case{"2", ok, 2}, parameter_case{"3abc", ok, 3},
                      parameter_case{" 7", ok, 7}, parameter_case{"+5", ok, 5},
                      parameter_case{"3.9", ok, 3}, parameter_case{"0x10", ok, 0},
                      parameter_case{"-4", ok, -4}, parameter_case{"-0", ok, 0},
                      parameter_case{"007", ok, 7}, parameter_case{"12 34", ok, 12},
                      parameter_case{"\t\v\f\r\n 9", ok, 9},
                      parameter_case{std::string{'4', '\0', '5'}, ok, 4},
                      parameter_case{"2147483647", ok, 2147483647},
                      parameter_case{"-2147483648", ok, -2147483647 - 1},
                      parameter_case{"0000000000002147483647", ok, 2147483647}));

INSTANTIATE_TEST_SUITE_P(
    NoNumber, ParameterTest,
    ::testing::Values(parameter_case{"", none, 0}, parameter_case{"abc", none, 0},
                      parameter_case{"+", none, 0}, parameter_case{"-", none, 0},
                      parameter_case{"   ", none, 0}, parameter_case{"- 5", none, 0},
                      parameter_case{"+-5", none, 0}, parameter_case{"exit", none, 0},
                      parameter_case{".5", none, 0},
                      parameter_case{std::string{'\xa0', '5'}, none, 0},
                      parameter_case{std::string{'\0', '5'}, none, 0}));

INSTANTIATE_TEST_SUITE_P(
    OutOfRange, ParameterTest,
    ::testing::Values(parameter_case{"2147483648", range, 0},
                      parameter_case{"-2147483649", range, 0},
                      parameter_case{"4294967298", range, 0},
                      parameter_case{"123456789012345678901234567890", range, 0},
                      parameter_case{"-123456789012345678901234567890", range, 0},
                      parameter_case{"99999999999999999999x", range, 0}));

}  // namespace
}  // namespace logfsm
