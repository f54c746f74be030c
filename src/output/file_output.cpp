#include "output/file_output.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#include <process.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace logfsm {
namespace {

namespace fs = std::filesystem;

// A short name in the directory of `path` that no other writer uses (short,
// so that it fits wherever a name of the same directory fits).
std::string temporary_name(const std::string& path) {
  static std::atomic<unsigned> counter{0};
#ifdef _WIN32
  const long pid = _getpid();
#else
  const long pid = static_cast<long>(getpid());
#endif
  const fs::path directory = fs::path(path).parent_path();
  const std::string name =
      ".logfsm" + std::to_string(pid) + "_" + std::to_string(counter++) + ".tmp";
  return (directory / name).string();
}

// The file that writing `path` replaces: `path` itself or, for a symbolic
// link, the file it finally points to, so that the link stays a link.
std::string resolve_links(const std::string& path) {
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
  const fs::path target = fs::canonical(path, ec);
  return ec ? path : target.string();
}

// What may be done at `path`: nothing (it exists and is no writable regular
// file), create it, or replace it keeping its permission bits.
struct target_state {
  bool writable;
  std::optional<fs::perms> existing_perms;
};

// Whether `path` (its links followed) is an existing file that is neither a
// regular file nor a directory: a device, a FIFO, a terminal, which can be
// written but not replaced.
bool is_special_file(const std::string& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  return !ec && fs::exists(status) && !fs::is_regular_file(status) &&
         !fs::is_directory(status);
}

target_state inspect(const std::string& path) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(path, ec);
  if (ec || status.type() == fs::file_type::not_found) return {true, std::nullopt};
  const fs::perms perms = status.permissions();
  const bool writable = status.type() == fs::file_type::regular &&
                        (perms & fs::perms::owner_write) != fs::perms::none;
  return {writable, perms};
}

#ifdef _WIN32
// Writes `content` to the file that fopen's `mode` opens at `path`.
bool write_opened(const std::string& path, const char* mode, std::string_view content) {
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (file == nullptr) return false;
  const bool written =
      std::fwrite(content.data(), 1, content.size(), file) == content.size();
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}

bool write_whole(const std::string& temp, std::string_view content,
                 std::optional<fs::perms>) {
  return write_opened(temp, "wbx", content);
}

bool replace_file(const std::string& temp, const std::string& path) {
  return MoveFileExA(temp.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool write_directly(const std::string& path, std::string_view content) {
  return write_opened(path, "wb", content);
}

bool names_open_stream(const std::string&) { return false; }
#else
// Writes all of `content` to `fd`, again where a signal interrupted.
bool write_all(int fd, std::string_view content) {
  const char* data = content.data();
  std::size_t left = content.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

bool write_whole(const std::string& temp, std::string_view content,
                 std::optional<fs::perms> perms) {
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  if (perms) ::fchmod(fd, static_cast<mode_t>(*perms) & 07777);
  const bool ok = write_all(fd, content) && ::fsync(fd) == 0;
  return (::close(fd) == 0) && ok;
}

// The descriptor that `path` names when it names one of the program's open
// streams (/dev/stdout, /dev/stderr, /dev/fd/N, /proc/self/fd/N); none
// otherwise. Opening such a name again would start a new offset at 0 (or
// the renaming path would replace the file behind it), so that a standard
// output appended to a file would lose what the file held.
std::optional<int> open_descriptor(std::string_view path) {
  if (path == "/dev/stdout") return 1;
  if (path == "/dev/stderr") return 2;
  for (const std::string_view prefix : {"/dev/fd/", "/proc/self/fd/"}) {
    if (!path.starts_with(prefix)) continue;
    const std::string_view digits = path.substr(prefix.size());
    int fd = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), fd);
    if (ec == std::errc() && end == digits.data() + digits.size() && !digits.empty()) return fd;
  }
  return std::nullopt;
}

// No fsync: devices and FIFOs may refuse it, and there is no file to keep.
bool write_directly(const std::string& path, std::string_view content) {
  if (const std::optional<int> fd = open_descriptor(path)) {
    std::fflush(nullptr);  // what the program wrote through stdio comes first
    return ::fcntl(*fd, F_GETFD) != -1 && write_all(*fd, content);
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  const bool ok = write_all(fd, content);
  return (::close(fd) == 0) && ok;
}

bool replace_file(const std::string& temp, const std::string& path) {
  return std::rename(temp.c_str(), path.c_str()) == 0;
}

bool names_open_stream(const std::string& path) { return open_descriptor(path).has_value(); }
#endif

}  // namespace

status write_file_atomically(const std::string& path, std::string_view content) {
  if (names_open_stream(path) || is_special_file(path)) {
    if (write_directly(path, content)) return status();
    return status(status_code::cannot_write, "Cannot write output file: " + path);
  }
  const std::string target = resolve_links(path);
  const target_state state = inspect(target);
  if (state.writable) {
    const std::string temp = temporary_name(target);
    if (write_whole(temp, content, state.existing_perms) && replace_file(temp, target)) {
      return status();
    }
    std::remove(temp.c_str());
  }
  return status(status_code::cannot_write, "Cannot write output file: " + path);
}

}  // namespace logfsm
