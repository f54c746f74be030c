#include "support/program_run.h"

#include <sstream>

#include "frontend/program.h"

namespace logfsm::testing {

namespace fs = std::filesystem;

std::string answers(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (const std::string_view line : lines) text.append(line).push_back('\n');
  return text;
}

std::string progress_lines(int traces) {
  std::string text;
  for (int i = 1; i <= traces; ++i) {
    text +=
        "Processed trace " + std::to_string(i) + " of " + std::to_string(traces) + "\n";
  }
  return text + "Refining...\n";
}

std::string with_crlf(std::string_view text) {
  std::string result;
  for (const char c : text) {
    if (c == '\n' && !result.ends_with('\r')) result += '\r';
    result += c;
  }
  return result;
}

ProgramTest::ProgramTest() : saved_directory_(fs::current_path()) {
  fs::current_path(dir_.path());
}

ProgramTest::~ProgramTest() { fs::current_path(saved_directory_); }

program_run ProgramTest::run(const std::vector<std::string>& args,
                             const std::string& input) {
  program_run result;
  program_environment environment;
  environment.live_progress = live_progress;
  environment.render = [this, &result](const std::string& dot_file,
                                       const std::string& format) {
    result.renders.push_back({dot_file, format, fs::is_regular_file(dot_file)});
    return render_error;
  };
  std::istringstream in(input);
  std::ostringstream out, err;
  result.status = run_program(args, in, out, err, environment);
  result.out = out.str();
  result.err = err.str();
  return result;
}

void ProgramTest::write(const fs::path& name, const std::string& content) const {
  const fs::path path = dir_.path() / name;
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  write_file(path, content);
}

std::string ProgramTest::read(const fs::path& name) const {
  return read_file(dir_.path() / name);
}

}  // namespace logfsm::testing
