// The command table against what the program says: every option of every
// command in its usage line, its --help and the manual page's section for
// it; every command in the program's help; one format for a wrong command
// line.
#include "frontend/commands.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "frontend/reading_options.h"
#include "support/program_run.h"

namespace logfsm::testing {
namespace {

using strings = std::vector<std::string>;

// `text` as the manual page writes it: every "-" escaped.
std::string in_roff(const std::string& text) {
  std::string roff;
  for (const char c : text) roff += c == '-' ? std::string("\\-") : std::string(1, c);
  return roff;
}

// The manual page from the line `heading` to the next heading; empty when
// it has no such line.
std::string section(const std::string& manual, const std::string& heading) {
  const std::size_t start = manual.find("\n" + heading + "\n");
  if (start == std::string::npos) return "";
  return manual.substr(start, manual.find("\n.S", start + 1) - start);
}

// Every line within 79 columns.
void expect_narrow(const std::string& text) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 79u) << line;
}

class CommandsTest : public ProgramTest {};

TEST_F(CommandsTest, UsageHelpAndManualNameEveryOptionOfEveryCommand) {
  const std::string manual = read_file(LOGFSM_MANUAL);
  const std::string reading = section(manual, ".SH READING OPTIONS");
  for (const option_spec& spec : reading_option_specs()) {
    EXPECT_NE(reading.find(in_roff("--" + spec.name)), std::string::npos) << spec.name;
  }
  const program_run program = run({"--help"});
  for (const command& row : commands()) {
    const std::string title = row.name.empty() ? "logfsm" : "logfsm " + row.name;
    SCOPED_TRACE(title);
    const strings words = row.name.empty() ? strings{} : strings{row.name};
    EXPECT_NE(program.out.find("       " + title + " ["), std::string::npos);
    EXPECT_NE(program.out.find(row.summary), std::string::npos);

    strings args = words;
    args.push_back("--frob");
    const program_run wrong = run(args);
    EXPECT_EQ(wrong.status, 2);
    const std::string end = "Try '" + title + " --help' for more.\n";
    ASSERT_TRUE(wrong.err.starts_with(
                    title + ": unknown option: --frob\nusage: " + title + " ") &&
                wrong.err.ends_with(end))
        << wrong.err;
    const std::size_t from = wrong.err.find("\nusage: ") + 1;
    const std::string usage =
        wrong.err.substr(from, wrong.err.size() - end.size() - from);
    EXPECT_EQ(usage.find("[reading options]") != std::string::npos, !row.reads.empty());
    for (const std::string& argument : row.arguments) {
      EXPECT_NE(usage.find(argument), std::string::npos) << argument;
    }

    args.back() = "--help";
    const program_run help = run(args);
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_NE(help.out.find(usage.substr(std::string("usage: ").size())),
              std::string::npos);
    for (const option_spec& spec : accepted_options(row)) {
      EXPECT_NE(help.out.find("--" + spec.name), std::string::npos) << spec.name;
    }

    std::string heading = ".SS \"" + title;
    for (const std::string& argument : row.arguments) heading += " " + argument;
    const std::string described = section(manual, heading + "\"");
    EXPECT_FALSE(described.empty()) << heading;
    for (const option_spec& spec : row.options) {
      const std::string flag =
          spec.alias != '\0' ? std::string{'-', spec.alias} : "--" + spec.name;
      EXPECT_NE(usage.find("[" + flag), std::string::npos) << flag;
      EXPECT_NE(described.find(in_roff("--" + spec.name)), std::string::npos)
          << spec.name;
      EXPECT_NE(described.find(in_roff(flag)), std::string::npos) << flag;
    }
    expect_narrow(help.out + wrong.err);
  }
  const program_run version = run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(version.out.starts_with("logfsm ")) << version.out;
}

}  // namespace
}  // namespace logfsm::testing
