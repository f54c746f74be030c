// Worked examples: logs whose DOT and JSON files were worked out by hand.
// The dialogue, run from the log's folder as a user would, must write
// exactly those bytes, also when the log has CR LF lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "support/program_run.h"

namespace logfsm::testing {
namespace {

namespace fs = std::filesystem;

// Every NAME_out_K.dot of `folder` with its NAME.txt and NAME_out_K.json.
struct worked_case {
  fs::path log, dot, json;
  std::string k;
};

std::vector<worked_case> worked_cases_in(const fs::path& folder) {
  std::vector<worked_case> cases;
  std::error_code ec;
  const std::regex name("(.*)_out_([0-9]+)\\.dot");
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    std::smatch m;
    const std::string file = entry.path().filename().string();
    if (!std::regex_match(file, m, name)) continue;
    const fs::path log = folder / (m[1].str() + ".txt");
    const fs::path json = folder / (m[1].str() + "_out_" + m[2].str() + ".json");
    if (fs::exists(log) && fs::exists(json))
      cases.push_back({log, entry.path(), json, m[2].str()});
  }
  return cases;
}

class ExamplesTest : public ProgramTest {
 protected:
  void expect_reproduced(const fs::path& folder, bool crlf) {
    const std::vector<worked_case> cases = worked_cases_in(folder);
    if (cases.empty()) GTEST_SKIP() << "no worked examples at " << folder;
    for (const worked_case& c : cases) {
      const fs::path dir = c.log.stem().string() + "_k" + c.k;
      const std::string log = read_file(c.log);
      write(dir / c.log.filename(), crlf ? with_crlf(log) : log);
      const program_run run = dialogue(answers({(dir / c.log.filename()).string(), c.k}));
      EXPECT_EQ(run.status, 0) << c.log;
      EXPECT_EQ(read(dir / c.dot.filename()), read_file(c.dot)) << c.dot;
      EXPECT_EQ(read(dir / c.json.filename()), read_file(c.json)) << c.json;
    }
  }
};

TEST_F(ExamplesTest, SharedWorkedExamplesMatchByteForByte) {
  expect_reproduced(LOGFSM_SHARED_EXAMPLES, false);
  expect_reproduced(LOGFSM_SHARED_EXAMPLES, true);
}

TEST_F(ExamplesTest, HandworkedCasesMatchByteForByte) {
  expect_reproduced(fs::path(LOGFSM_TEST_DATA) / "handworked", false);
}

}  // namespace
}  // namespace logfsm::testing
