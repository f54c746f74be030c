#include "output/file_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#endif

namespace logfsm {
namespace {

namespace fs = std::filesystem;
using testing::read_file;
using testing::temp_dir;
using testing::write_file;

using names = std::vector<std::string>;

TEST(OutputFileTest, WritesANewFileByteForByte) {
  const temp_dir dir;
  const std::string content("Digraph {\r\n\0\xff\n}", 15);
  ASSERT_TRUE(write_file_atomically(dir.file("out.dot"), content).ok());
  EXPECT_EQ(read_file(dir.file("out.dot")), content);
  EXPECT_EQ(dir.entries(), names{"out.dot"});
}

TEST(OutputFileTest, ReplacesAnExistingFileCompletely) {
  const temp_dir dir;
  write_file(dir.file("out.json"), std::string(100000, 'x'));
  ASSERT_TRUE(write_file_atomically(dir.file("out.json"), "{}").ok());
  EXPECT_EQ(read_file(dir.file("out.json")), "{}");
  ASSERT_TRUE(write_file_atomically(dir.file("out.json"), "").ok());
  EXPECT_EQ(fs::file_size(dir.file("out.json")), 0u);
  const std::string large(3 << 20, 'y');
  ASSERT_TRUE(write_file_atomically(dir.file("out.json"), large).ok());
  EXPECT_EQ(read_file(dir.file("out.json")), large);
  EXPECT_EQ(dir.entries(), names{"out.json"});
}

TEST(OutputFileTest, FailsWithoutTraceWhenTheDirectoryIsMissing) {
  const temp_dir dir;
  const status missing = write_file_atomically(dir.file("missing/out.dot"), "x");
  EXPECT_EQ(missing.code(), status_code::cannot_write);
  EXPECT_EQ(missing.message(),
            "Cannot write output file: " + dir.file("missing/out.dot"));
  EXPECT_TRUE(dir.entries().empty());
  write_file(dir.file("log.txt"), "a;");
  EXPECT_FALSE(write_file_atomically(dir.file("log.txt/out.dot"), "x").ok());
  EXPECT_EQ(dir.entries(), names{"log.txt"});
  EXPECT_EQ(read_file(dir.file("log.txt")), "a;");
}

TEST(OutputFileTest, FailsWithoutTraceWhenThePathIsADirectory) {
  const temp_dir dir;
  fs::create_directory(dir.path() / "out.dot");
  write_file(dir.path() / "out.dot" / "inside", "kept");
  EXPECT_FALSE(write_file_atomically(dir.file("out.dot"), "x").ok());
  EXPECT_TRUE(fs::is_directory(dir.path() / "out.dot"));
  EXPECT_EQ(read_file(dir.path() / "out.dot" / "inside"), "kept");
  EXPECT_EQ(dir.entries(), (names{"out.dot", "out.dot/inside"}));
}

// The owner-write bit is honoured by the code itself, so this holds also for
// a user whom the system would let write anyway.
TEST(OutputFileTest, LeavesAReadOnlyFileUntouched) {
  const temp_dir dir;
  const std::string path = dir.file("out.dot");
  write_file(path, "earlier run");
  fs::permissions(path,
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FALSE(write_file_atomically(path, "new").ok());
  EXPECT_EQ(read_file(path), "earlier run");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(dir.entries(), names{"out.dot"});
}

#ifndef _WIN32
// Caps the size of files this process writes (as a full disk would) for the
// lifetime of the object.
class file_size_limit {
 public:
  explicit file_size_limit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    saved_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~file_size_limit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, saved_handler_);
  }

 private:
  rlimit saved_;
  void (*saved_handler_)(int);
};

TEST(OutputFileTest, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  const temp_dir dir;
  const std::string path = dir.file("out.json");
  write_file(path, "earlier run");
  {
    const file_size_limit limit(4096);
    EXPECT_FALSE(write_file_atomically(path, std::string(100000, 'x')).ok());
  }
  EXPECT_EQ(read_file(path), "earlier run");
  EXPECT_EQ(dir.entries(), names{"out.json"});
}

// The temporary file has a short name of its own, so any file name that the
// file system accepts can be written, also one close to its length limit.
TEST(OutputFileTest, ANameNearTheLengthLimitIsWritten) {
  const temp_dir dir;
  const long name_max = pathconf(dir.path().c_str(), _PC_NAME_MAX);
  ASSERT_GT(name_max, 16);
  const std::string name =
      std::string(static_cast<std::size_t>(name_max) - 4, 'x') + ".dot";
  write_file(dir.file(name), "earlier run");
  ASSERT_EQ(read_file(dir.file(name)), "earlier run");
  EXPECT_TRUE(write_file_atomically(dir.file(name), "new").ok());
  EXPECT_EQ(read_file(dir.file(name)), "new");
}
#endif

#ifndef _WIN32
TEST(OutputFileTest, ReplacingKeepsPermissionBitsAndSymbolicLinks) {
  const temp_dir dir;
  write_file(dir.file("real.dot"), "old");
  fs::permissions(dir.file("real.dot"), fs::perms::owner_read | fs::perms::owner_write |
                                            fs::perms::group_read);
  fs::create_symlink("real.dot", dir.path() / "link.dot");
  ASSERT_TRUE(write_file_atomically(dir.file("link.dot"), "new").ok());
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.dot"));
  EXPECT_EQ(read_file(dir.file("real.dot")), "new");
  EXPECT_EQ(fs::status(dir.file("real.dot")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(dir.entries(), (names{"link.dot", "real.dot"}));
}

TEST(OutputFileTest, ADanglingLinkIsRefused) {
  const temp_dir dir;
  fs::create_symlink("missing/none.dot", dir.path() / "link.dot");
  EXPECT_FALSE(write_file_atomically(dir.file("link.dot"), "new").ok());
  EXPECT_EQ(dir.entries(), (names{"link.dot"}));
}
#endif

}  // namespace
}  // namespace logfsm
