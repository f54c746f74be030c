// End-to-end sessions with the built logfsm program: a private scratch
// directory per test, verbs to lay out logs and read what the program leaves
// behind, a stand-in for Graphviz `dot` that records how it was started, and
// the expected console lines.
//
// Layout of a session's scratch directory (unique per test and process,
// removed with everything in it when the session ends):
//   work/      the program's working directory; the logs go here
//   renderer/  the stand-in `dot` (bin/) and its start records
//   empty/     an empty directory, the PATH of runs without a renderer
#ifndef LOGFSM_TESTS_SUPPORT_E2E_SESSION_H_
#define LOGFSM_TESTS_SUPPORT_E2E_SESSION_H_

#include <chrono>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "support/run_binary.h"

namespace logfsm::e2e {

namespace fs = std::filesystem;
using testing::run_outcome;

inline constexpr std::string_view kFilePrompt = "Enter log filename: ";
inline constexpr std::string_view kParameterPrompt = "Enter algorithm parameter: ";
inline constexpr std::string_view kSaved = "Data saved in the input file directory.\n";

// The answer lines as typed, each ended by a line feed.
std::string answers(std::initializer_list<std::string_view> lines);

// One console line: the text and a line feed.
std::string line(std::string_view text);

// The text with every line feed preceded by a carriage return (CR LF lines).
std::string with_crlf(std::string_view text);

// "Building FSM...", one progress line per trace and "Refining...".
std::string learning_lines(int traces);

// One start of the renderer as the stand-in saw it.
struct render_start {
  std::vector<std::string> arguments;  // without the program name
  std::string working_directory;
  bool first_argument_was_a_file = false;  // when the stand-in started
};

// A shell script named `dot` that records every start as one file and ends.
// While held, a start waits (up to 30 s) for release() before recording, so
// a test can see whether the program waits for it.
class fake_renderer {
 public:
  explicit fake_renderer(const fs::path& home);

  const fs::path& bin() const { return bin_; }

  // The starts recorded so far, in no particular order.
  std::vector<render_start> starts() const;
  // Polls until `count` starts are recorded or `timeout` passes, then
  // returns what is recorded.
  std::vector<render_start> wait_for_starts(
      std::size_t count,
      std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;

  void hold() const;
  void release() const;

 private:
  fs::path home_;
  fs::path bin_;
  fs::path records_;
};

class session {
 public:
  // The scratch directory is named after the running test.
  session();
  session(const session&) = delete;
  session& operator=(const session&) = delete;
  ~session();

  const fs::path& work() const { return work_; }
  fake_renderer& renderer() { return renderer_; }

  // Files and directories by names relative to work(); write() makes the
  // missing directories of the name first.
  void write(const fs::path& name, std::string_view content) const;
  std::string read(const fs::path& name) const;
  bool exists(const fs::path& name) const;
  void make_dir(const fs::path& name) const;
  void make_read_only(const fs::path& name) const;
  // Every file below work() (directories only when empty), as sorted
  // relative names with "/" between the parts.
  std::vector<std::string> files() const;

  // Runs logfsm in work() with the stand-in `dot` alone on PATH. A run that
  // outlives the timeout is killed and fails the test.
  run_outcome run(std::string_view input) const;
  // The same with another working directory.
  run_outcome run_in(const fs::path& working_directory, std::string_view input) const;
  // The same with a PATH on which no `dot` can be found.
  run_outcome run_without_renderer(std::string_view input) const;
  // Runs `logfsm ARGUMENTS...` in work() with the stand-in `dot` on PATH.
  run_outcome run_command(const std::vector<std::string>& arguments,
                          std::string_view input = {}) const;

 private:
  run_outcome run_with(const fs::path& working_directory, const fs::path& path,
                       std::string_view input,
                       const std::vector<std::string>& arguments = {}) const;

  fs::path root_;
  fs::path work_;
  fs::path empty_;
  fake_renderer renderer_;
};

// The worked cases of a folder: every NAME.txt with NAME_out_K.dot and
// NAME_out_K.json next to it (K a decimal number).
struct worked_case {
  fs::path log;
  std::string k;
  fs::path expected_dot;
  fs::path expected_json;
};
std::vector<worked_case> worked_cases_in(const fs::path& folder);

// The whole content of a file outside any session; empty when unreadable.
std::string slurp(const fs::path& file);

}  // namespace logfsm::e2e

#endif  // LOGFSM_TESTS_SUPPORT_E2E_SESSION_H_
