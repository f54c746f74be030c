// `logfsm view` and `logfsm --html`, through the whole program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/program_run.h"
#include "view/assets.h"

namespace logfsm::testing {
namespace {

using strings = std::vector<std::string>;

class ViewCommandTest : public ProgramTest {
 protected:
  void SetUp() override {
    if (embedded_view_assets() == nullptr) GTEST_SKIP() << "this build writes no HTML view";
    write("run.txt", "start;scan;stop;\nstart;stop;\n");
    write("new.txt", "start;stop;\nstart;pause;\n");
  }
};

// Learning with --html writes the page that `view` writes for the same
// model and log, and names it in the summary.
TEST_F(ViewCommandTest, LearningWritesTheViewOfTheTrainingLog) {
  const program_run learned = run({"--no-render", "-q", "--html", "run.txt", "2"});
  ASSERT_EQ(learned.status, 0) << learned.err;
  EXPECT_TRUE(learned.out.starts_with("run_out_2.dot, run_out_2.json, run_out_2.html: "))
      << learned.out;
  const std::string page = read("run_out_2.html");
  EXPECT_NE(page.find("id=\"logfsm-data\""), std::string::npos);

  const program_run viewed = run({"view", "run_out_2.json", "run.txt", "-o", "again.html"});
  ASSERT_EQ(viewed.status, 0) << viewed.err;
  EXPECT_EQ(viewed.out, "again.html\n");
  EXPECT_EQ(read("again.html"), page);

  ASSERT_EQ(run({"view", "-q", "run_out_2.json", "new.txt"}).status, 0);
  EXPECT_NE(read("run_out_2.html").find("\"accepted\":1}"), std::string::npos);
}

TEST_F(ViewCommandTest, RefusesWhatItCannotUse) {
  ASSERT_EQ(run({"--no-render", "-q", "run.txt", "2"}).status, 0);
  write("bad.json", "{}");
  const struct {
    strings args;
    int status;
    std::string err_start;
  } cases[] = {
      {{"view", "run_out_2.json"}, 2, "logfsm view: MODEL.json and LOG are needed"},
      {{"view", "--examples", "x", "run_out_2.json", "run.txt"}, 2, "logfsm view: --examples"},
      {{"view", "missing.json", "run.txt"}, 4, "logfsm view: missing.json: cannot open"},
      {{"view", "run_out_2.json", "missing.txt"}, 4, "logfsm view: missing.txt: cannot open"},
      {{"view", "bad.json", "run.txt"}, 5, "logfsm view: bad.json: not a logfsm model"},
      {{"view", "run_out_2.json", "run.txt", "-o", "no/dir/x.html"}, 3,
       "logfsm view: Cannot write output file: no/dir/x.html"},
  };
  for (const auto& c : cases) {
    const program_run viewed = run(c.args);
    EXPECT_EQ(viewed.status, c.status) << c.err_start;
    EXPECT_TRUE(viewed.err.starts_with(c.err_start)) << viewed.err;
  }
}

}  // namespace
}  // namespace logfsm::testing
