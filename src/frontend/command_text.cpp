#include "frontend/command_text.h"

#include <cstddef>
#include <string_view>
#include <vector>

#include "frontend/exit_status.h"
#include "frontend/reading_options.h"

namespace logfsm {
namespace {

constexpr std::size_t kWidth = 79;
// Where help lines start, right of the option they describe.
constexpr std::size_t kHelpColumn = 23;
// Where the summaries of the commands start in the program's help.
constexpr std::size_t kSummaryColumn = 39;
// "usage: " and the blanks under it.
constexpr std::string_view kUsageStart = "usage: ";

// "--name VALUE", with "-a, " before it for an option with a one-letter form.
std::string option_label(const option_spec& spec) {
  std::string label = "--" + spec.name;
  if (spec.alias != '\0') label = std::string{'-', spec.alias} + ", " + label;
  return spec.takes_value() ? label + " " + spec.value : label;
}

// Each option on a line of its own with its help from kHelpColumn on (below
// it when the option is too long), further help lines under the first.
std::string options_text(const std::vector<option_spec>& specs) {
  const std::string margin(kHelpColumn, ' ');
  std::string text;
  for (const option_spec& spec : specs) {
    const std::string line = "  " + option_label(spec);
    text += line.size() < kHelpColumn ? line + std::string(kHelpColumn - line.size(), ' ')
                                      : line + "\n" + margin;
    for (const char c : spec.help) text += c == '\n' ? "\n" + margin : std::string(1, c);
    text += '\n';
  }
  return text;
}

// The words of the usage after the title: "[-q]", "[--format FORMAT]", ...,
// and the arguments as one.
std::vector<std::string> usage_words(const command& row) {
  std::vector<std::string> words;
  for (const option_spec& spec : row.options) {
    std::string word =
        spec.alias != '\0' ? std::string{'-', spec.alias} : "--" + spec.name;
    words.push_back("[" + (spec.takes_value() ? word + " " + spec.value : word) + "]");
  }
  if (!row.reads.empty()) words.emplace_back("[reading options]");
  std::string arguments;  // kept on one line
  for (const std::string& name : row.arguments)
    arguments += (arguments.empty() ? "" : " ") + name;
  words.push_back(arguments);
  return words;
}

// The title and the usage words, written after kUsageStart's width, wrapped
// under the first word.
std::string usage_lines(const command& row) {
  std::string text = command_title(row);
  const std::size_t indent = kUsageStart.size() + text.size() + 1;
  std::size_t column = indent - 1;
  for (const std::string& word : usage_words(row)) {
    const bool wrap = column + 1 + word.size() > kWidth;
    text += (wrap ? "\n" + std::string(indent, ' ') : " ") + word;
    column = (wrap ? indent : column + 1) + word.size();
  }
  return text + "\n";
}

// Every command's usage with its summary below it, the dialogue first.
std::string program_usage() {
  std::string first = std::string(kUsageStart) + "logfsm";
  std::string text = first + std::string(kSummaryColumn - first.size(), ' ') +
                     "hold the console dialogue\n";
  for (const command& row : commands()) {
    text += std::string(kUsageStart.size(), ' ') + usage_lines(row) +
            std::string(kSummaryColumn, ' ') + row.summary + "\n";
  }
  return text + "\n'logfsm COMMAND --help' shows the options of a command.\n";
}

}  // namespace

std::string command_title(const command& row) {
  return row.name.empty() ? "logfsm" : "logfsm " + row.name;
}

std::string usage_text(const command& row) {
  return std::string(kUsageStart) + usage_lines(row);
}

std::string help_text(const command& row) {
  std::string text = row.name.empty() ? program_usage() : usage_text(row);
  text += "\n" + row.description + "\noptions:\n" + options_text(listed_options(row));
  if (!row.reads.empty()) {
    text += "\nreading options (for " + row.reads + "):\n" +
            options_text(reading_option_specs());
  }
  return text + "\nexit status: " + row.exit_status;
}

int report_failure(const command& row, const status& why, std::ostream& err) {
  const std::string title = command_title(row);
  err << title << ": " << why.message() << '\n';
  if (why.code() == status_code::bad_argument) {
    err << usage_text(row) << "Try '" << title << " --help' for more.\n";
  }
  return exit_status_for(why.code());
}

}  // namespace logfsm
