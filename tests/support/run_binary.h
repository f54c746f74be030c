// Runs a program as a child process, the way a user at a console would: the
// whole standard input is given up front, standard output and standard error
// are collected, and the exit status is reported.
//
// Platform process calls live only in run_binary.cpp (POSIX for now); a
// Windows variant replaces that one file.
#ifndef LOGFSM_TESTS_SUPPORT_RUN_BINARY_H_
#define LOGFSM_TESTS_SUPPORT_RUN_BINARY_H_

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace logfsm::testing {

struct run_request {
  // The executable, by absolute path (it is not looked up through PATH).
  std::string program;
  // The arguments after the program name, each passed as it is.
  std::vector<std::string> arguments;
  // Everything the child reads from standard input; the pipe is closed after
  // the last byte, so the child then sees the end of input.
  std::string input;
  // The PATH the child sees; the rest of the environment is inherited.
  std::string path_variable;
  // The child's working directory; empty keeps the caller's.
  std::string working_directory;
  // The child is killed when it has not ended by then.
  std::chrono::milliseconds timeout{std::chrono::seconds(20)};
};

// The most that is kept of each output stream, so that a child caught in a
// loop that prints cannot exhaust the memory of the test.
inline constexpr std::size_t kOutputLimit = std::size_t{1} << 20;

struct run_outcome {
  std::string out;
  std::string err;
  // The status passed to exit(), or -1 when the child did not exit normally.
  int exit_status = -1;
  // The signal that ended the child, 0 when it exited normally.
  int signal = 0;
  // True when the child was killed because it outlived the timeout.
  bool timed_out = false;
  // True when out or err stopped at kOutputLimit bytes; the rest was read
  // and dropped.
  bool truncated = false;
  std::chrono::milliseconds elapsed{0};
};

// Starts `request.program` with `request.arguments` and waits until it ends or the
// timeout passes. Output is collected until the child itself has ended, even
// when a process it started still holds the output pipes open. A child that
// cannot be started exits with status 127 and says why on standard error.
run_outcome run_binary(const run_request& request);

// True when the tests run with rights that bypass file permission bits.
bool running_as_superuser();

}  // namespace logfsm::testing

#endif  // LOGFSM_TESTS_SUPPORT_RUN_BINARY_H_
