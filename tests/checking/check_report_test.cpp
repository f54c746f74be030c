#include "checking/check_report.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/fixtures.h"

namespace logfsm {
namespace {

rejected_trace not_allowed(std::size_t line, std::size_t position, std::string event,
                           std::vector<std::string> before,
                           std::vector<std::string> allowed) {
  return {line,
          rejection_reason::event_not_allowed,
          position,
          std::move(event),
          std::move(before),
          std::move(allowed)};
}

rejected_trace bad_end(std::size_t line, std::size_t length,
                       std::vector<std::string> before,
                       std::vector<std::string> allowed) {
  return {line,
          rejection_reason::non_accepting_end,
          length,
          "",
          std::move(before),
          std::move(allowed)};
}

std::string text_of(const check_result& result) {
  std::ostringstream out;
  write_text_report(out, result);
  return out.str();
}

std::string json_of(const check_result& result, std::string_view model = "m.json",
                    std::string_view log = "l.txt") {
  std::ostringstream out;
  write_json_report(out, result, model, log);
  return out.str();
}

const check_result kMixed = {
    10,
    {not_allowed(7, 3, "pay", {"order", "pack"}, {"cancel", "ship"}),
     not_allowed(8, 1, "x", {}, {"order"}), bad_end(9, 5, {"a", "b", "c"}, {}),
     bad_end(10, 0, {}, {"order"})}};

TEST(CheckReportTest, TextHasOneLinePerRejectedTraceAndASummary) {
  EXPECT_EQ(
      text_of(kMixed),
      "line 7: event 3 \"pay\" is not allowed after \"order\" \"pack\"; allowed: "
      "\"cancel\", \"ship\"\n"
      "line 8: event 1 \"x\" is not allowed at the start; allowed: \"order\"\n"
      "line 9: ends in a non-accepting state after ... \"a\" \"b\" \"c\"; allowed: none\n"
      "line 10: the empty trace ends in a non-accepting state; allowed: \"order\"\n"
      "accepted 6 of 10 traces (60.0%)\n");
}

TEST(CheckReportTest, SummaryNeverRoundsUpToEveryTrace) {
  check_result result{10'000, {}};
  result.rejected.push_back(bad_end(1, 0, {}, {}));
  EXPECT_EQ(text_of(result).substr(text_of(result).find("accepted")),
            "accepted 9999 of 10000 traces (99.9%)\n");
  EXPECT_EQ(text_of({3, {}}), "accepted 3 of 3 traces (100.0%)\n");
  EXPECT_EQ(text_of({0, {}}), "accepted 0 of 0 traces\n");
}

TEST(CheckReportTest, NamesAreEscapedSoATraceStaysOnOneLine) {
  const check_result result = {
      1,
      {not_allowed(1, 2, "a\nb\"c\\", {std::string("\0\r", 2)}, {"\xff", "\xc3\xa9"})}};
  EXPECT_EQ(text_of(result),
            "line 1: event 2 \"a\\nb\\\"c\\\\\" is not allowed after \"\\u0000\\r\"; "
            "allowed: \"\\u00ff\", \"\xc3\xa9\"\naccepted 0 of 1 traces (0.0%)\n");
}

TEST(CheckReportTest, JsonListsEveryRejectedTrace) {
  EXPECT_EQ(
      json_of({2,
               {not_allowed(7, 3, "pay", {"order"}, {"cancel", "ship"}),
                bad_end(8, 2, {"a", "b"}, {})}}),
      "{\"model\":\"m.json\",\"log\":\"l.txt\",\"traces\":2,\"accepted\":0,\"rejected\":["
      "\n"
      "{\"line\":7,\"position\":3,\"reason\":\"event not allowed\",\"event\":\"pay\","
      "\"allowed\":[\"cancel\",\"ship\"]},\n"
      "{\"line\":8,\"position\":2,\"reason\":\"non-accepting end\",\"event\":null,"
      "\"allowed\":[]}\n"
      "]}\n");
  EXPECT_EQ(json_of({0, {}}),
            "{\"model\":\"m.json\",\"log\":\"l.txt\",\"traces\":0,\"accepted\":0,"
            "\"rejected\":[]}\n");
}

TEST(CheckReportTest, JsonIsValidForAnyBytes) {
  std::string every_byte;
  for (int b = 0; b < 256; ++b) every_byte.push_back(static_cast<char>(b));
  const check_result result = {
      1, {not_allowed(1, 1, every_byte, {}, {every_byte, "\xed\xa0\x80"})}};
  EXPECT_TRUE(testing::parses_as_json(json_of(result, every_byte, "\xc0")));
}

}  // namespace
}  // namespace logfsm
