// k-fold evaluation: the folds by position, the counts per k, and a report
// that does not depend on the number of threads.
#include "evaluation/evaluation.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "readers/text_log.h"
#include "support/log_generator.h"

namespace logfsm::testing {
namespace {

// Lines 0..4 are "a b", "a b", the empty trace, "a c", "a b". At k = 2 a
// model accepts "a b" and "a c" exactly when its training lines held them,
// and never the empty trace. With 5 folds each line is held out alone:
// "a c" held out is unknown to its model, so 3 of 5 are accepted; each
// model rejects only the empty line among its 4 training lines, which 4
// models train on. With 2 folds, fold 0 holds lines 0, 2, 4 and learns from
// "a b", "a c" (2 of 3 held out accepted, 2 of 2 fit); fold 1 holds "a b",
// "a c" and learns from "a b", "", "a b" (1 of 2 accepted, 2 of 3 fit).
constexpr char kLog[] = "a;b;\na;b;\n\na;c;\na;b;\n";

eval_report evaluated(const event_log& log, eval_options options) {
  eval_report report;
  const status done = evaluate(log, options, report);
  EXPECT_TRUE(done.ok()) << done.message();
  return report;
}

TEST(Evaluation, CountsHeldOutAndTrainingTracesPerFold) {
  const struct {
    std::size_t folds;
    std::uint64_t accepted, fit_accepted, fit_total;
  } cases[] = {{5, 3, 16, 20}, {2, 3, 4, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folds);
    eval_options options;
    options.ks = {2};
    options.folds = c.folds;
    const eval_row row = evaluated(parse_log(kLog), options).rows.at(0);
    EXPECT_EQ(row.accepted, c.accepted);
    EXPECT_EQ(row.held_out, 5u);
    EXPECT_EQ(row.fit_accepted, c.fit_accepted);
    EXPECT_EQ(row.fit_total, c.fit_total);
    EXPECT_FALSE(row.has_negatives);
  }
}

// The whole log's model at k = 2 accepts "a b" and "a c": of the negatives
// it rejects "b a" and "a" (which ends where no trace ended).
TEST(Evaluation, NegativesGiveSpecificityAndTheBalancedRate) {
  const event_log negatives = parse_log("b;a;\na;\na;b;\n");
  eval_options options;
  options.ks = {2};
  options.negatives = &negatives;
  const eval_row row = evaluated(parse_log(kLog), options).rows.at(0);
  EXPECT_TRUE(row.has_negatives);
  EXPECT_EQ(row.negatives_rejected, 2u);
  EXPECT_EQ(row.negatives, 3u);
  EXPECT_DOUBLE_EQ(row.bcr, (3.0 / 5 + 2.0 / 3) / 2);
}

TEST(Evaluation, ReportIsTheSameOnAnyNumberOfThreads) {
  const event_log log = parse_log(process_log(11, 120, 12));
  const event_log negatives = parse_log(process_log(12, 40, 12));
  const auto report_for = [&](unsigned jobs) {
    eval_options options;
    options.ks = {2, 3};
    options.jobs = jobs;
    options.negatives = &negatives;
    std::ostringstream json;
    write_eval_json(json, evaluated(log, options));
    return std::regex_replace(json.str(), std::regex("\"(replay_)?seconds\":[0-9.]+"),
                              "");
  };
  const std::string one = report_for(1);
  EXPECT_EQ(report_for(4), one);
}

TEST(Evaluation, RefusesFoldsWithoutAModel) {
  const struct {
    const char* log;
    std::size_t folds;
    status_code code;
  } cases[] = {
      {"a;\nb;\n", 3, status_code::bad_argument},  // fewer lines than folds
      {"\n\n\n", 2, status_code::empty_log},       // no event at all
      {"a;\n\n", 2, status_code::empty_log},       // fold 1 learns from "" alone
  };
  for (const auto& c : cases) {
    eval_options options;
    options.folds = c.folds;
    eval_report report;
    EXPECT_EQ(evaluate(parse_log(c.log), options, report).code(), c.code) << c.log;
  }
}

TEST(Evaluation, ParsesListsAndRangesOfK) {
  const struct {
    const char* text;
    std::vector<std::int32_t> ks;  // empty: refused
  } cases[] = {
      {"2,3,4", {2, 3, 4}},
      {"2-6", {2, 3, 4, 5, 6}},
      {"6,2-3,3", {2, 3, 6}},
      {"4", {4}},
      {"", {}},
      {"1", {}},
      {"2-", {}},
      {"5-3", {}},
      {"2,,3", {}},
      {"x", {}},
      {"+3", {}},
      {"2-99999999999", {}},
      {"2-5000", {}},
  };
  for (const auto& c : cases) {
    std::vector<std::int32_t> ks;
    const status parsed = parse_k_list(c.text, ks);
    EXPECT_EQ(parsed.ok(), !c.ks.empty()) << c.text;
    EXPECT_EQ(ks, c.ks) << c.text;
  }
}

}  // namespace
}  // namespace logfsm::testing
