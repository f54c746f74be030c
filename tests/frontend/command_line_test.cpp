#include "frontend/command_line.h"

#include <gtest/gtest.h>

namespace logfsm {
namespace {

const std::vector<option_spec> kSpecs = {
    {"quiet", 'q'}, {"format", '\0', true}, {"output-dir", 'o', true}};

using strings = std::vector<std::string>;

TEST(CommandLine, TakesValuesInBothFormsAndOptionsAnywhere) {
  const parsed_command_line line = parse_command_line(
      {"log.txt", "--format=svg", "-q", "3", "--output-dir", "out dir"}, kSpecs);
  EXPECT_EQ(line.error, "");
  EXPECT_EQ(line.positional, (strings{"log.txt", "3"}));
  EXPECT_EQ(line.value("format"), "svg");
  EXPECT_EQ(line.value("output-dir"), "out dir");
  EXPECT_TRUE(line.has("quiet"));
  EXPECT_EQ(line.value("quiet"), "");
  EXPECT_FALSE(line.value("missing"));
  // An empty value, a value that looks like an option, the last one wins.
  const parsed_command_line again =
      parse_command_line({"--format=", "--output-dir", "--quiet", "-o", "x"}, kSpecs);
  EXPECT_EQ(again.value("format"), "");
  EXPECT_EQ(again.value("output-dir"), "x");
  EXPECT_FALSE(again.has("quiet"));
}

TEST(CommandLine, DoubleDashEndsOptionsAndALoneDashIsPositional) {
  const parsed_command_line line =
      parse_command_line({"-q", "--", "--format", "-", "-q"}, kSpecs);
  EXPECT_EQ(line.error, "");
  EXPECT_EQ(line.positional, (strings{"--format", "-", "-q"}));
  EXPECT_EQ(parse_command_line({"-"}, kSpecs).positional, strings{"-"});
}

TEST(CommandLine, RefusesWhatItDoesNotKnow) {
  EXPECT_EQ(parse_command_line({"--frob"}, kSpecs).error, "unknown option: --frob");
  EXPECT_EQ(parse_command_line({"--frob=1"}, kSpecs).error, "unknown option: --frob");
  EXPECT_EQ(parse_command_line({"-x"}, kSpecs).error, "unknown option: -x");
  EXPECT_EQ(parse_command_line({"-qx"}, kSpecs).error, "unknown option: -qx");
  EXPECT_EQ(parse_command_line({"--quiet=yes"}, kSpecs).error,
            "option --quiet takes no value");
  EXPECT_EQ(parse_command_line({"log", "--format"}, kSpecs).error,
            "option --format needs a value");
  EXPECT_EQ(parse_command_line({"--form", "svg"}, kSpecs).error, "unknown option: --form");
}

}  // namespace
}  // namespace logfsm
