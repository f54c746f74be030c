// `logfsm eval` through the whole program: its reports, its chart, its
// errors, and its agreement with learning and checking each fold by hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/program_run.h"

namespace logfsm::testing {
namespace {

using strings = std::vector<std::string>;

class EvalCommandTest : public ProgramTest {
 protected:
  void SetUp() override {
    write("log.txt", "a;b;\na;b;\n\na;c;\na;b;\nb;c;\n");
    write("neg.txt", "b;a;\na;\n");
  }
};

TEST_F(EvalCommandTest, ReportsEveryKAsTextJsonAndChart) {
  const program_run text = run({"eval", "--k", "2,3", "--folds", "2", "log.txt"});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_TRUE(text.out.starts_with("k  recall")) << text.out;
  EXPECT_NE(text.out.find("\n2  "), std::string::npos);
  EXPECT_NE(text.out.find("\n3  "), std::string::npos);
  EXPECT_NE(text.out.find("2 folds; suggested: k = "), std::string::npos);
  EXPECT_EQ(text.err, "");

  live_progress = true;  // a terminal shows the runs done, then blanks the line
  EXPECT_NE(run({"eval", "--k", "2", "--folds", "2", "log.txt"})
                .err.find("\rLearned 2 of 2 models"),
            std::string::npos);
  EXPECT_EQ(run({"eval", "-q", "--k", "2", "--folds", "2", "log.txt"}).err, "");

  const program_run json =
      run({"eval", "--json", "--k", "2-3", "--folds", "3", "--negatives", "neg.txt",
           "--plot", "chart.svg", "-q", "log.txt"});
  ASSERT_EQ(json.status, 0) << json.err;
  const nlohmann::json report = nlohmann::json::parse(json.out);
  EXPECT_EQ(report["folds"], 3);
  ASSERT_EQ(report["rows"].size(), 2u);
  for (const char* key :
       {"k", "accepted", "held_out", "fit_accepted", "fit_total", "states", "transitions",
        "seconds", "negatives_rejected", "negatives", "bcr"}) {
    EXPECT_TRUE(report["rows"][1].contains(key)) << key;
  }
  EXPECT_EQ(report["rows"][0]["held_out"], 6);
  EXPECT_EQ(report["rows"][0]["negatives"], 2);
  const std::string chart = read("chart.svg");
  EXPECT_TRUE(chart.starts_with("<svg xmlns=\"http://www.w3.org/2000/svg\"")) << chart;
  EXPECT_NE(chart.find("specificity"), std::string::npos);
}

TEST_F(EvalCommandTest, RefusesWhatItCannotUse) {
  const struct {
    strings args;
    int status;
    std::string err_start;
  } cases[] = {
      {{"eval"}, 2, "logfsm eval: LOG is needed"},
      {{"eval", "--k", "1", "log.txt"}, 2, "logfsm eval: --k: \"1\""},
      {{"eval", "--folds", "1", "log.txt"}, 2, "logfsm eval: --folds takes"},
      {{"eval", "--jobs", "0", "log.txt"}, 2, "logfsm eval: --jobs takes"},
      {{"eval", "--folds", "7", "log.txt"},
       2,
       "logfsm eval: 7 folds need at least 7 traces"},
      {{"eval", "missing.txt"}, 4, "logfsm eval: missing.txt: cannot open"},
      {{"eval", "--negatives", "none.txt", "log.txt"},
       4,
       "logfsm eval: none.txt: cannot open"},
      {{"eval", "--plot", "no/dir/c.svg", "--folds", "2", "log.txt"},
       3,
       "logfsm eval: Cannot write output file: no/dir/c.svg"},
  };
  for (const auto& c : cases) {
    const program_run evaluated = run(c.args);
    EXPECT_EQ(evaluated.status, c.status) << c.args.back();
    EXPECT_TRUE(evaluated.err.starts_with(c.err_start)) << evaluated.err;
  }
}

// Each fold learned from a file of its training lines and checked on a file
// of its held-out lines gives the counts eval reports.
TEST_F(EvalCommandTest, EqualsLearningAndCheckingEachFoldFile) {
  const std::filesystem::path receipt =
      std::filesystem::path(LOGFSM_SHARED_LOGS) / "receipt.txt";
  if (!std::filesystem::exists(receipt)) GTEST_SKIP() << receipt << " is absent";
  std::ifstream in(receipt, std::ios::binary);
  strings lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  constexpr int kFolds = 4;
  constexpr int kK = 3;
  std::uint64_t accepted = 0;
  std::uint64_t fit = 0;
  for (int f = 0; f < kFolds; ++f) {
    std::string held, train;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      (int(i % kFolds) == f ? held : train) += lines[i] + "\n";
    }
    const std::string stem = "train" + std::to_string(f);
    write(stem + ".txt", train);
    write("held" + std::to_string(f) + ".txt", held);
    ASSERT_EQ(run({"--no-render", "-q", stem + ".txt", std::to_string(kK)}).status, 0);
    const std::string model = stem + "_out_" + std::to_string(kK) + ".json";
    for (const bool training : {false, true}) {
      const program_run checked =
          run({"check", "--json", model,
               (training ? stem : "held" + std::to_string(f)) + ".txt"});
      const nlohmann::json report = nlohmann::json::parse(checked.out);
      (training ? fit : accepted) += report["accepted"].get<std::uint64_t>();
    }
  }
  write("receipt.txt", [&] {
    std::string all;
    for (const std::string& line : lines) all += line + "\n";
    return all;
  }());
  const program_run evaluated = run({"eval", "--json", "--k", std::to_string(kK),
                                     "--folds", std::to_string(kFolds), "receipt.txt"});
  ASSERT_EQ(evaluated.status, 0) << evaluated.err;
  const nlohmann::json row = nlohmann::json::parse(evaluated.out)["rows"][0];
  EXPECT_EQ(row["accepted"].get<std::uint64_t>(), accepted);
  EXPECT_EQ(row["fit_accepted"].get<std::uint64_t>(), fit);
  EXPECT_EQ(row["held_out"].get<std::uint64_t>(), lines.size());
}

}  // namespace
}  // namespace logfsm::testing
