// A fresh directory for tests that touch the file system, removed with all
// its contents when the object goes away.
#ifndef LOGFSM_TESTS_SUPPORT_TEMP_DIR_H_
#define LOGFSM_TESTS_SUPPORT_TEMP_DIR_H_

#include <filesystem>
#include <string>
#include <vector>

namespace logfsm::testing {

class temp_dir {
 public:
  temp_dir();
  ~temp_dir();
  temp_dir(const temp_dir&) = delete;
  temp_dir& operator=(const temp_dir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of `name` inside the directory, as a string.
  std::string file(const std::string& name) const;
  // Every entry below the directory (files and directories), as sorted
  // relative names with "/" between their parts.
  std::vector<std::string> entries() const;

 private:
  std::filesystem::path path_;
};

// The whole content of a file read in binary mode; empty when it cannot be
// read.
std::string read_file(const std::filesystem::path& path);
// Creates or truncates a file and writes `content` in binary mode.
void write_file(const std::filesystem::path& path, const std::string& content);

}  // namespace logfsm::testing

#endif  // LOGFSM_TESTS_SUPPORT_TEMP_DIR_H_
