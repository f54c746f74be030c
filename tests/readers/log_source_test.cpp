#include "readers/log_source.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

#ifdef LOGFSM_HAVE_ZLIB
#include <zlib.h>
#endif

namespace logfsm {
namespace {

using testing::temp_dir;
using testing::write_file;

// Opening comes before the format check; the format comes from
// --input-format, then --regex, then the name; the stem drops the format's
// whole extension.
TEST(LogSourceTest, ChoosesTheFormatAndTheStem) {
  const temp_dir dir;
  std::filesystem::create_directories(dir.path() / "logs.old");
  std::filesystem::create_directory(dir.path() / "folder.txt");
  struct name_case {
    std::string name;
    bool exists;
    std::string format;  // "!" + message when opening fails
    std::string stem;
    read_options options = {};
  };
  read_options as_csv, with_regex;
  as_csv.input_format = "csv";
  with_regex.regex = {"(?P<event>.*)"};
  const name_case cases[] = {
      {"run.txt", true, "txt", "run"},
      {"run.1.txt", true, "txt", "run.1"},
      {".txt", true, "txt", ""},
      {"b.xes", true, "xes", "b"},
      {"bpic2012.xes.gz", true, "xes", "bpic2012"},
      {"t.csv", true, "csv", "t"},
      {"t.csv.gz", true, "csv", "t"},
      {"app.log", true, "regex", "app", with_regex},
      {"logs.old/trace", true, "regex", "logs.old/trace", with_regex},
      {"run.txt", true, "csv", "run", as_csv},
      {"missing.txt", false, "!No such file.", ""},
      {"missing.csv", false, "!No such file.", ""},
      {"folder.txt", false, "!No such file.", ""},
      {"log.TXT", true, "!", ""},
      {"log.txt.bak", true, "!", ""},
      {"trace", true, "!", ""},
  };
  for (const name_case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.exists) write_file(dir.path() / c.name, "a;\n");
    log_source source;
    const status opened = open_log_source(dir.file(c.name), c.options, source);
    if (c.format.starts_with("!")) {
      EXPECT_EQ(opened.code(), c.exists ? status_code::bad_argument : status_code::cannot_read);
      if (c.format.size() > 1) {
        EXPECT_EQ(opened.message(), c.format.substr(1));
      }
      continue;
    }
    ASSERT_TRUE(opened.ok()) << opened.message();
    EXPECT_EQ(source.stem, dir.file(c.stem));
    EXPECT_EQ(source.format, format_named(c.format));
  }
  // With a fallback, any name that opens is read in that format.
  log_source source;
  EXPECT_TRUE(open_log_source(dir.file("trace"), {}, source, format_named("txt")).ok());
  EXPECT_EQ(format_names(), "txt, xes, csv or regex");
}

TEST(LogSourceTest, ReadsTheWholeLogAndNamesItInFailures) {
  const temp_dir dir;
  write_file(dir.file("run.txt"), "a;b;\r\n\nc;");
  log_source source;
  ASSERT_TRUE(open_log_source(dir.file("run.txt"), {}, source).ok());
  event_log log;
  read_notes notes;
  ASSERT_TRUE(read_log_source(source, log, notes).ok());
  EXPECT_EQ(log.lines(), (raw_traces{{"a", "b"}, {}, {"c"}}));
  EXPECT_TRUE(notes.empty());

  write_file(dir.file("bad.csv"), "x,y\n1,2\n");
  ASSERT_TRUE(open_log_source(dir.file("bad.csv"), {}, source).ok());
  const status read = read_log_source(source, log, notes);
  EXPECT_EQ(read.code(), status_code::bad_log);
  EXPECT_TRUE(read.message().starts_with(dir.file("bad.csv") + ": ")) << read.message();
}

#ifdef LOGFSM_HAVE_ZLIB
// Compressed files are recognised by their first bytes, whatever their
// name; a truncated stream is an error, not a shorter log.
TEST(LogSourceTest, ReadsGzipByItsMagicBytes) {
  const temp_dir dir;
  std::string log;
  for (int i = 0; i < 5000; ++i) log += "start;step " + std::to_string(i % 7) + ";stop;\n";
  gzFile gz = gzopen(dir.file("packed.txt").c_str(), "wb");
  ASSERT_NE(gz, nullptr);
  ASSERT_EQ(gzwrite(gz, log.data(), static_cast<unsigned>(log.size())), int(log.size()));
  ASSERT_EQ(gzclose(gz), Z_OK);
  const std::string packed = testing::read_file(dir.path() / "packed.txt");
  ASSERT_TRUE(packed.starts_with("\x1f\x8b"));
  write_file(dir.path() / "cut.txt", packed.substr(0, packed.size() / 2));
  // Members one after another read as one text, as gzip reads them; bytes
  // after the last member are ignored.
  write_file(dir.path() / "two.txt", packed + packed + "trailing");

  log_source source;
  event_log read;
  read_notes notes;
  ASSERT_TRUE(open_log_source(dir.file("packed.txt"), {}, source).ok());
  ASSERT_TRUE(read_log_source(source, read, notes).ok());
  EXPECT_EQ(read.line_count(), 5000u);
  EXPECT_EQ(read.lines()[6], (std::vector<std::string>{"start", "step 6", "stop"}));

  ASSERT_TRUE(open_log_source(dir.file("two.txt"), {}, source).ok());
  read = event_log();
  ASSERT_TRUE(read_log_source(source, read, notes).ok());
  EXPECT_EQ(read.line_count(), 10000u);

  ASSERT_TRUE(open_log_source(dir.file("cut.txt"), {}, source).ok());
  const status cut = read_log_source(source, read, notes);
  EXPECT_EQ(cut.code(), status_code::bad_log);
  EXPECT_EQ(cut.message(), dir.file("cut.txt") + ": gzip: unexpected end of file");
}
#endif

}  // namespace
}  // namespace logfsm
