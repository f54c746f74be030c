#include "output/renderer.h"

#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
extern char** environ;
#endif

namespace logfsm {

#ifdef _WIN32
namespace {

// Starts `application` (nullptr: the first word of `command_line`, looked up
// through PATH) without waiting for it; false leaves GetLastError() set.
bool start_detached(const char* application, std::string command_line) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(application, command_line.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace

// The usual Graphviz installation first, then any dot.exe on PATH.
unsigned long start_dot(const std::string& dot_file, const std::string& format) {
  static const char kDotPath[] = "C:\\Program Files (x86)\\Graphviz2.38\\bin\\dot.exe";
  const std::string arguments = " \"" + dot_file + "\"  -T" + format + " -O ";
  if (start_detached(kDotPath, arguments)) return 0;
  if (start_detached(nullptr, "dot.exe" + arguments)) return 0;
  return GetLastError();
}
#else
unsigned long start_dot(const std::string& dot_file, const std::string& format) {
  std::string program = "dot";
  std::string file = dot_file;
  std::string type = "-T" + format;
  std::string next_to_input = "-O";
  std::vector<char*> argv = {program.data(), file.data(), type.data(),
                             next_to_input.data(), nullptr};
  pid_t pid = 0;
  const int error =
      posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
  return static_cast<unsigned long>(error);
}
#endif

}  // namespace logfsm
