#include "readers/log_source.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "support/temp_dir.h"

namespace logfsm {
namespace {

using testing::temp_dir;
using testing::write_file;

TEST(LogSourceTest, OpenInputOpensTheNamedFileInBinaryModeAndNoDirectory) {
  const temp_dir dir;
  write_file(dir.file("my log.txt"), "a;b;\r\nc;");
  write_file(dir.file("other.txt"), "x;\n");
  std::ifstream stream;
  ASSERT_TRUE(open_input(dir.file("my log.txt"), stream));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(stream), {}), "a;b;\r\nc;");
  // Opening again replaces the earlier file in the same stream.
  ASSERT_TRUE(open_input(dir.file("other.txt"), stream));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(stream), {}), "x;\n");

  std::filesystem::create_directory(dir.path() / "folder.txt");
  for (const std::string& name :
       {dir.file("missing.txt"), dir.file("folder.txt"), std::string()}) {
    EXPECT_FALSE(open_input(name, stream)) << name;
    EXPECT_FALSE(stream.is_open());
  }
}

// Opening comes before the name check; the stem drops the extension only.
TEST(LogSourceTest, ChoosesTheFormatFromTheNameAfterOpening) {
  const temp_dir dir;
  struct name_case {
    std::string name;
    bool exists;
    std::string message;  // empty: opened, with this stem
    std::string stem;
  };
  const name_case cases[] = {
      {"run.txt", true, "", "run"},
      {"run.1.txt", true, "", "run.1"},
      {".txt", true, "", ""},
      {"missing.txt", false, "No such file.", ""},
      {"missing.csv", false, "No such file.", ""},
      {"log.TXT", true, ".txt file is required", ""},
      {"log.txt.bak", true, ".txt file is required", ""},
      {"log.txt ", true, ".txt file is required", ""},
      {"trace", true, ".txt file is required", ""},
  };
  for (const name_case& c : cases) {
    if (c.exists) write_file(dir.file(c.name), "a;\n");
    log_source source;
    const status opened = open_log_source(dir.file(c.name), source);
    EXPECT_EQ(opened.message(), c.message) << c.name;
    if (opened.ok()) {
      EXPECT_EQ(source.stem, dir.file(c.stem)) << c.name;
      EXPECT_EQ(source.format, format_named("txt"));
    } else {
      EXPECT_EQ(opened.code(),
                c.exists ? status_code::bad_argument : status_code::cannot_read);
    }
  }
  std::filesystem::create_directories(dir.path() / "logs.old");
  write_file(dir.path() / "logs.old" / "trace", "a;\n");
  log_source source;
  EXPECT_EQ(open_log_source(dir.file("logs.old/trace"), source).code(),
            status_code::bad_argument);
  // With a fallback, any name that opens is read in that format.
  EXPECT_TRUE(
      open_log_source(dir.file("logs.old/trace"), source, format_named("txt")).ok());
  EXPECT_EQ(source.stem, dir.file("logs"));
}

TEST(LogSourceTest, ReadsTheWholeLogAndClosesTheFile) {
  const temp_dir dir;
  write_file(dir.file("run.txt"), "a;b;\r\n\nc;");
  log_source source;
  ASSERT_TRUE(open_log_source(dir.file("run.txt"), source).ok());
  event_log log;
  ASSERT_TRUE(read_log_source(source, log).ok());
  EXPECT_EQ(log.lines(), (raw_traces{{"a", "b"}, {}, {"c"}}));
  EXPECT_FALSE(source.stream.is_open());
}

}  // namespace
}  // namespace logfsm
