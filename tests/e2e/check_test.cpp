// `logfsm check` through the built program: a machine learned by logfsm is
// read back and replayed, whatever bytes its event names hold.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/e2e_session.h"
#include "support/json_check.h"

namespace logfsm::e2e {
namespace {

constexpr std::string_view kLog =
    "login;browse;buy;logout;\n"
    "login;browse;browse;logout;\n"
    "login;buy;logout;\n"
    "browse;login;buy;buy;logout;\n";

// A session holding log.txt and the machine learned from it with k = 2.
class CheckEndToEnd : public ::testing::Test {
 protected:
  void learn(std::string_view log) {
    s.write("log.txt", log);
    const run_outcome run = s.run_command({"--quiet", "--no-render", "log.txt", "2"});
    ASSERT_EQ(run.exit_status, 0) << run.err;
    ASSERT_TRUE(s.exists("log_out_2.json"));
  }

  session s;
};

TEST_F(CheckEndToEnd, LearnedMachineAcceptsItsOwnLog) {
  learn(kLog);
  const run_outcome run = s.run_command({"check", "log_out_2.json", "log.txt"});
  EXPECT_EQ(run.exit_status, 0) << run.err;
  EXPECT_EQ(run.out, "accepted 4 of 4 traces (100.0%)\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(CheckEndToEnd, NamesWithAnyBytesSurviveTheModelFile) {
  const std::string odd = std::string("caf\xc3\xa9;\xff\xfe;q\"\\;\x01\t;", 17) +
                          std::string("\0;", 2) + "\xe2\x82;\n";
  learn(odd + "a;" + odd + odd);
  const run_outcome run = s.run_command({"check", "log_out_2.json", "log.txt"});
  EXPECT_EQ(run.exit_status, 0) << run.out << run.err;
}

TEST_F(CheckEndToEnd, RejectedTracesAreExplained) {
  learn(kLog);
  s.write("new.txt", "login;browse;buy;logout;\nlogin;pay;\nlogin;\n");

  const run_outcome text = s.run_command({"check", "log_out_2.json", "new.txt"});
  EXPECT_EQ(text.exit_status, 1);
  EXPECT_EQ(text.out,
            "line 2: event 2 \"pay\" is not allowed after \"login\"; allowed: "
            "\"browse\", \"buy\"\n"
            "line 3: ends in a non-accepting state after \"login\"; allowed: \"browse\", "
            "\"buy\"\n"
            "accepted 1 of 3 traces (33.3%)\n");

  const run_outcome json =
      s.run_command({"check", "--json", "log_out_2.json", "new.txt"});
  EXPECT_EQ(json.exit_status, 1);
  const testing::json_check_result parsed = testing::check_json(json.out);
  EXPECT_TRUE(parsed.ok) << parsed.error;
  EXPECT_NE(json.out.find("{\"line\":2,\"position\":2,\"reason\":\"event not allowed\","
                          "\"event\":\"pay\",\"allowed\":[\"browse\",\"buy\"]}"),
            std::string::npos)
      << json.out;
}

TEST_F(CheckEndToEnd, ProblemsEndWithTheirOwnStatus) {
  learn(kLog);
  s.write("foreign.json", "{\"graph\":[]}");
  const run_outcome foreign = s.run_command({"check", "foreign.json", "log.txt"});
  EXPECT_EQ(foreign.exit_status, 5);
  EXPECT_EQ(foreign.err,
            "logfsm check: foreign.json: not a logfsm model (no \"states\" array)\n");

  EXPECT_EQ(s.run_command({"check", "log_out_2.json", "nowhere.txt"}).exit_status, 4);
  EXPECT_EQ(s.run_command({"check", "log_out_2.json"}).exit_status, 2);
}

}  // namespace
}  // namespace logfsm::e2e
