// Runs the whole program in the test's process: run_program with string
// streams, in a scratch directory that is the working directory while the
// test runs, with a renderer that records what it is asked instead of
// starting Graphviz.
#ifndef LOGFSM_TESTS_SUPPORT_PROGRAM_RUN_H_
#define LOGFSM_TESTS_SUPPORT_PROGRAM_RUN_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"

namespace logfsm::testing {

inline constexpr std::string_view kFilePrompt = "Enter log filename: ";
inline constexpr std::string_view kParameterPrompt = "Enter algorithm parameter: ";
inline constexpr std::string_view kSaved = "Data saved in the input file directory.\n";

// The answer lines as typed, each ended by a line feed.
std::string answers(std::initializer_list<std::string_view> lines);
// "Processed trace i of n" for every trace, then "Refining...".
std::string progress_lines(int traces);
// Every line feed preceded by a carriage return (CR LF lines).
std::string with_crlf(std::string_view text);

struct render_call {
  std::string dot_file;
  std::string format;
  bool dot_file_written;  // when the renderer was asked
};

struct program_run {
  int status = -1;
  std::string out;
  std::string err;
  std::vector<render_call> renders;
};

class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest();
  ~ProgramTest() override;

  // `logfsm ARGS...` with `input` on standard input.
  program_run run(const std::vector<std::string>& args, const std::string& input = "");
  // The dialogue, given its answers.
  program_run dialogue(const std::string& input) { return run({}, input); }

  // Files by names relative to the scratch directory; write() makes the
  // missing directories first.
  void write(const std::filesystem::path& name, const std::string& content) const;
  std::string read(const std::filesystem::path& name) const;
  // Every entry below the scratch directory, as sorted relative names.
  std::vector<std::string> files() const { return dir_.entries(); }

  // What the stand-in renderer answers: 0 (started) or an error code.
  unsigned long render_error = 0;
  // Whether the run is told that standard error is a terminal.
  bool live_progress = false;

 private:
  temp_dir dir_;
  std::filesystem::path saved_directory_;
};

}  // namespace logfsm::testing

#endif  // LOGFSM_TESTS_SUPPORT_PROGRAM_RUN_H_
