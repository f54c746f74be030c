// Worked examples: logs whose DOT and JSON output was worked out by hand. The
// built program must write exactly those bytes.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "support/e2e_session.h"

namespace logfsm::e2e {
namespace {

// Runs every case in its own directory of one session, as a user would from
// the log's folder, with `log_text` turning the log's bytes into the copy.
void expect_cases_reproduced(const std::vector<worked_case>& cases,
                             std::string (*log_text)(std::string_view)) {
  session s;
  for (const worked_case& c : cases) {
    const std::string log_name = c.log.filename().string();
    SCOPED_TRACE(log_name + " with parameter " + c.k);
    const fs::path dir = c.log.stem().string() + "_k" + c.k;
    s.write(dir / log_name, log_text(slurp(c.log)));

    const run_outcome run = s.run_in(s.work() / dir, answers({log_name, c.k}));

    EXPECT_EQ(run.exit_status, 0) << run.out;
    EXPECT_TRUE(run.out.ends_with(kSaved)) << run.out;
    EXPECT_EQ(s.read(dir / c.expected_dot.filename()), slurp(c.expected_dot));
    EXPECT_EQ(s.read(dir / c.expected_json.filename()), slurp(c.expected_json));
  }
}

std::string as_is(std::string_view text) { return std::string(text); }

TEST(EndToEndExamples, SharedWorkedExamplesMatchByteForByte) {
  const std::vector<worked_case> cases = worked_cases_in(LOGFSM_SHARED_EXAMPLES);
  if (cases.empty()) GTEST_SKIP() << "no worked examples at " << LOGFSM_SHARED_EXAMPLES;
  expect_cases_reproduced(cases, as_is);
}

TEST(EndToEndExamples, SharedWorkedExamplesWithCrLfLinesMatchByteForByte) {
  const std::vector<worked_case> cases = worked_cases_in(LOGFSM_SHARED_EXAMPLES);
  if (cases.empty()) GTEST_SKIP() << "no worked examples at " << LOGFSM_SHARED_EXAMPLES;
  expect_cases_reproduced(cases, with_crlf);
}

TEST(EndToEndExamples, HandworkedCasesMatchByteForByte) {
  const std::string folder = std::string(LOGFSM_TEST_DATA) + "/handworked";
  const std::vector<worked_case> cases = worked_cases_in(folder);
  if (cases.empty()) GTEST_SKIP() << "no hand-worked cases at " << folder;
  expect_cases_reproduced(cases, as_is);
}

}  // namespace
}  // namespace logfsm::e2e
