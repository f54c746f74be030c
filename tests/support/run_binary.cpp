#include "support/run_binary.h"

#ifdef _WIN32

namespace logfsm::testing {

// Only the end-to-end tests start programs, and they are not built for
// Windows; starting a child there would take CreateProcess and anonymous pipes.
run_outcome run_binary(const run_request& request) {
  run_outcome outcome;
  outcome.exit_status = 127;
  outcome.err = "run_binary: cannot start " + request.program + ": not supported on Windows\n";
  return outcome;
}

bool running_as_superuser() { return false; }

}  // namespace logfsm::testing

#else

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace logfsm::testing {
namespace {

using clock_type = std::chrono::steady_clock;

// One end of a pipe owned by the parent; closed on destruction.
class pipe_end {
 public:
  pipe_end() = default;
  explicit pipe_end(int fd) : fd_(fd) {}
  pipe_end(const pipe_end&) = delete;
  pipe_end& operator=(const pipe_end&) = delete;
  ~pipe_end() { close(); }

  int fd() const { return fd_; }
  bool open() const { return fd_ >= 0; }
  void reset(int fd) {
    close();
    fd_ = fd;
  }
  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};

struct pipe_pair {
  pipe_end read;
  pipe_end write;
};

bool make_pipe(pipe_pair& pair) {
  int fds[2];
  if (::pipe(fds) != 0) return false;
  for (int fd : fds) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  pair.read.reset(fds[0]);
  pair.write.reset(fds[1]);
  return true;
}

void set_nonblocking(int fd) {
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

// The parent's environment with PATH replaced.
std::vector<std::string> child_environment(const std::string& path_variable) {
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (std::string_view(*entry).starts_with("PATH=")) continue;
    env.emplace_back(*entry);
  }
  env.push_back("PATH=" + path_variable);
  return env;
}

std::vector<char*> pointers_to(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Only async-signal-safe calls between fork and exec.
[[noreturn]] void become_child(const run_request& request, int in, int out, int err,
                               char* const argv[], char* const envp[]) {
  ::dup2(in, STDIN_FILENO);
  ::dup2(out, STDOUT_FILENO);
  ::dup2(err, STDERR_FILENO);
  struct sigaction default_action {};
  default_action.sa_handler = SIG_DFL;
  ::sigaction(SIGPIPE, &default_action, nullptr);
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  const char* failed = "exec";
  if (!request.working_directory.empty() &&
      ::chdir(request.working_directory.c_str()) != 0) {
    failed = "chdir";
  } else {
    ::execve(request.program.c_str(), argv, envp);
  }
  const char* reason = std::strerror(errno);
  (void)!::write(STDERR_FILENO, "run_binary: ", 12);
  (void)!::write(STDERR_FILENO, failed, std::strlen(failed));
  (void)!::write(STDERR_FILENO, ": ", 2);
  (void)!::write(STDERR_FILENO, reason, std::strlen(reason));
  (void)!::write(STDERR_FILENO, "\n", 1);
  ::_exit(127);
}

// Appends what `fd` has ready, up to kOutputLimit bytes in all; closes it at
// the end of the stream.
void take_available(pipe_end& end, std::string& sink, bool& truncated) {
  char buffer[4096];
  while (end.open()) {
    const ssize_t n = ::read(end.fd(), buffer, sizeof buffer);
    if (n > 0) {
      const std::size_t room = kOutputLimit - sink.size();
      const std::size_t taken = std::min(room, static_cast<std::size_t>(n));
      sink.append(buffer, taken);
      if (taken < static_cast<std::size_t>(n)) truncated = true;
    } else if (n == 0) {
      end.close();
    } else if (errno != EINTR) {
      if (errno != EAGAIN && errno != EWOULDBLOCK) end.close();
      return;
    }
  }
}

// Writes as much of the rest of the input as the pipe takes; closes the pipe
// when all is written or the child no longer reads.
void give_input(pipe_end& end, std::string_view input, std::size_t& written) {
  while (end.open() && written < input.size()) {
    const ssize_t n =
        ::write(end.fd(), input.data() + written, input.size() - written);
    if (n >= 0) {
      written += static_cast<std::size_t>(n);
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      return;
    } else if (errno != EINTR) {
      end.close();
    }
  }
  end.close();
}

void record_status(int status, run_outcome& outcome) {
  if (WIFEXITED(status)) outcome.exit_status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
}

}  // namespace

run_outcome run_binary(const run_request& request) {
  // A child that stops reading must not kill the test process with SIGPIPE;
  // the child gets the default action back before exec.
  static const bool sigpipe_ignored = [] {
    std::signal(SIGPIPE, SIG_IGN);
    return true;
  }();
  (void)sigpipe_ignored;

  run_outcome outcome;
  pipe_pair in, out, err;
  if (!make_pipe(in) || !make_pipe(out) || !make_pipe(err)) {
    outcome.err = std::string("run_binary: pipe: ") + std::strerror(errno);
    return outcome;
  }
  std::vector<std::string> args = {request.program};
  args.insert(args.end(), request.arguments.begin(), request.arguments.end());
  std::vector<std::string> env = child_environment(request.path_variable);
  std::vector<char*> argv = pointers_to(args);
  std::vector<char*> envp = pointers_to(env);

  const clock_type::time_point start = clock_type::now();
  const pid_t pid = ::fork();
  if (pid < 0) {
    outcome.err = std::string("run_binary: fork: ") + std::strerror(errno);
    return outcome;
  }
  if (pid == 0) {
    become_child(request, in.read.fd(), out.write.fd(), err.write.fd(), argv.data(),
                 envp.data());
  }
  in.read.close();
  out.write.close();
  err.write.close();
  set_nonblocking(in.write.fd());
  set_nonblocking(out.read.fd());
  set_nonblocking(err.read.fd());

  const clock_type::time_point deadline = start + request.timeout;
  std::size_t written = 0;
  int status = 0;
  while (true) {
    give_input(in.write, request.input, written);
    take_available(out.read, outcome.out, outcome.truncated);
    take_available(err.read, outcome.err, outcome.truncated);
    const pid_t ended = ::waitpid(pid, &status, WNOHANG);
    if (ended == pid) break;
    if (clock_type::now() >= deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      outcome.timed_out = true;
      break;
    }
    std::vector<pollfd> watched;
    if (in.write.open()) watched.push_back({in.write.fd(), POLLOUT, 0});
    if (out.read.open()) watched.push_back({out.read.fd(), POLLIN, 0});
    if (err.read.open()) watched.push_back({err.read.fd(), POLLIN, 0});
    ::poll(watched.data(), watched.size(), 20);
  }
  // What the child wrote before it ended is in the pipes; a process it
  // started may keep them open, so only what is there now is taken.
  take_available(out.read, outcome.out, outcome.truncated);
  take_available(err.read, outcome.err, outcome.truncated);
  record_status(status, outcome);
  outcome.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      clock_type::now() - start);
  return outcome;
}

bool running_as_superuser() { return ::geteuid() == 0; }

}  // namespace logfsm::testing

#endif  // _WIN32
