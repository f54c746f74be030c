#include "frontend/command_line.h"

#include <gtest/gtest.h>

namespace logfsm {
namespace {

const std::vector<option_spec> kSpecs = {
    {"quiet", 'q', "", ""}, {"format", '\0', "F", ""}, {"output-dir", 'o', "DIR", ""}};

using strings = std::vector<std::string>;

parsed_command_line parse(const std::vector<std::string>& args) {
  parsed_command_line line;
  EXPECT_TRUE(parse_command_line(args, kSpecs, line).ok());
  return line;
}

std::string error_of(const std::vector<std::string>& args) {
  parsed_command_line line;
  const status parsed = parse_command_line(args, kSpecs, line);
  EXPECT_EQ(parsed.code(), status_code::bad_argument);
  return parsed.message();
}

TEST(CommandLine, TakesValuesInBothFormsAndOptionsAnywhere) {
  const parsed_command_line line =
      parse({"log.txt", "--format=svg", "-q", "3", "--output-dir", "out dir"});
  EXPECT_EQ(line.positional, (strings{"log.txt", "3"}));
  EXPECT_EQ(line.value("format"), "svg");
  EXPECT_EQ(line.value("output-dir"), "out dir");
  EXPECT_TRUE(line.has("quiet"));
  EXPECT_EQ(line.value("quiet"), "");
  EXPECT_FALSE(line.value("missing"));
  // An empty value, a value that looks like an option, the last one wins.
  const parsed_command_line again =
      parse({"--format=", "--output-dir", "--quiet", "-o", "x"});
  EXPECT_EQ(again.value("format"), "");
  EXPECT_EQ(again.value("output-dir"), "x");
  EXPECT_FALSE(again.has("quiet"));
}

TEST(CommandLine, DoubleDashEndsOptionsAndALoneDashIsPositional) {
  const parsed_command_line line = parse({"-q", "--", "--format", "-", "-q"});
  EXPECT_EQ(line.positional, (strings{"--format", "-", "-q"}));
  EXPECT_EQ(parse({"-"}).positional, strings{"-"});
}

TEST(CommandLine, RefusesWhatItDoesNotKnow) {
  EXPECT_EQ(error_of({"--frob"}), "unknown option: --frob");
  EXPECT_EQ(error_of({"--frob=1"}), "unknown option: --frob");
  EXPECT_EQ(error_of({"-x"}), "unknown option: -x");
  EXPECT_EQ(error_of({"-qx"}), "unknown option: -qx");
  EXPECT_EQ(error_of({"--quiet=yes"}), "option --quiet takes no value");
  EXPECT_EQ(error_of({"log", "--format"}), "option --format needs a value");
  EXPECT_EQ(error_of({"--form", "svg"}), "unknown option: --form");
}

}  // namespace
}  // namespace logfsm
