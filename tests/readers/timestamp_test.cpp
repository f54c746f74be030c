#include "readers/timestamp.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>

namespace logfsm {
namespace {

// The instant of a UTC date and time, by the standard calendar.
instant utc(int y, unsigned m, unsigned d, int hh = 0, int mm = 0, int ss = 0,
            std::int32_t nanos = 0) {
  const std::chrono::sys_days day{std::chrono::year(y) / std::chrono::month(m) /
                                  std::chrono::day(d)};
  return {day.time_since_epoch().count() * std::int64_t{86400} + hh * 3600 + mm * 60 + ss,
          nanos};
}

struct timestamp_case {
  std::string text;
  std::string layout;
  std::optional<instant> expected;
};

TEST(TimestampTest, ReadsIso8601AndLayoutsAsInstantsOrNothing) {
  const std::optional<instant> none;
  const timestamp_case cases[] = {
      // ISO 8601: zones, fractions, blanks.
      {"2005-03-23", "", utc(2005, 3, 23)},
      {"2005-03-23 00:00:00+01:00", "", utc(2005, 3, 22, 23)},
      {"2005-03-23T14:32:05Z", "", utc(2005, 3, 23, 14, 32, 5)},
      {"2005-03-23t14:32:05z", "", utc(2005, 3, 23, 14, 32, 5)},
      {"  2010-12-30 14:32 ", "", utc(2010, 12, 30, 14, 32)},
      {"2010-12-30T14:32:05.5+02:00", "", utc(2010, 12, 30, 12, 32, 5, 500000000)},
      {"2010-12-30T14:32:05,123456789987", "", utc(2010, 12, 30, 14, 32, 5, 123456789)},
      {"2010-12-30T14:32:05 -0530", "", utc(2010, 12, 30, 20, 2, 5)},
      {"2010-12-30T01:00:00+05", "", utc(2010, 12, 29, 20)},
      {"1969-12-31T23:59:59Z", "", instant{-1, 0}},
      {"2000-02-29", "", utc(2000, 2, 29)},
      {"1600-02-29 12:00", "", utc(1600, 2, 29, 12)},
      {"1900-02-29", "", none},
      {"2023-02-29", "", none},
      {"2020-02-30", "", none},
      {"2020-04-31", "", none},
      {"2020-13-01", "", none},
      {"2020-00-10", "", none},
      {"2020-01-00", "", none},
      {"2020-01-01T24:00:00", "", none},
      {"2020-01-01T23:60", "", none},
      {"2020-01-01T10:00:00+24:00", "", none},
      {"2020-01-01T10:00:00+01:60", "", none},
      {"2020-1-01", "", none},
      {"20200101", "", none},
      {"2020-01-01T", "", none},
      {"2020-01-01 10", "", none},
      {"2020-01-01T10:00:00.", "", none},
      {"2020-01-01T10:00:00Z junk", "", none},
      {"", "", none},
      {" \t ", "", none},
      // Layouts.
      {"23/03/2005 14:32:05", "%d/%m/%Y %H:%M:%S", utc(2005, 3, 23, 14, 32, 5)},
      {"3/4/2005 9:05", "%d/%m/%Y %H:%M", utc(2005, 4, 3, 9, 5)},
      {"2005/4/3  \t 9:05", "%Y/%m/%d %H:%M", utc(2005, 4, 3, 9, 5)},
      {"20050323143205", "%Y%m%d%H%M%S", utc(2005, 3, 23, 14, 32, 5)},
      {"2005-03-23 14:32:05.25 +0100", "%F %T.%f %z",
       utc(2005, 3, 23, 13, 32, 5, 250000000)},
      {"Mar 23 2005", "%b %d %Y", utc(2005, 3, 23)},
      {"MARCH 23 2005", "%b %d %Y", utc(2005, 3, 23)},
      {"sep 1 2005", "%b %d %Y", utc(2005, 9, 1)},
      {"Sept 1 2005", "%b %d %Y", none},
      {"23-May-05", "%d-%b-%y", utc(2005, 5, 23)},
      {"23-May-69", "%d-%b-%y", utc(1969, 5, 23)},
      {"23-May-68", "%d-%b-%y", utc(2068, 5, 23)},
      {"23-May-5", "%d-%b-%y", none},
      {"12:30 AM", "%I:%M %p", utc(1970, 1, 1, 0, 30)},
      {"12:30 pm", "%I:%M %p", utc(1970, 1, 1, 12, 30)},
      {"1:00PM", "%I:%M%p", utc(1970, 1, 1, 13)},
      {"13:00 PM", "%I:%M %p", none},
      {"00:30 AM", "%I:%M %p", none},
      {"01:00", "%I:%M", none},
      {"24:00", "%H:%M", none},
      {"30.02.2020", "%d.%m.%Y", none},
      {"%2020", "%%%Y", utc(2020, 1, 1)},
      {"2020x", "%Y", none},
      {"2020", "%Y%Q", none},
      {"2020-01-01", "%Y-%m-%d %H", none},
  };
  for (const timestamp_case& c : cases) {
    SCOPED_TRACE("\"" + c.text + "\" as \"" + c.layout + "\"");
    const std::optional<instant> got = parse_timestamp(c.text, c.layout);
    ASSERT_EQ(got.has_value(), c.expected.has_value());
    if (got) {
      EXPECT_EQ(got->seconds, c.expected->seconds);
      EXPECT_EQ(got->nanos, c.expected->nanos);
    }
  }
}

// Written in microseconds, rounded down, and read back to the same
// microsecond; years outside 0000-9999 are not written.
TEST(TimestampTest, WritesMicrosecondsInIsoUtcThatReadBack) {
  const std::pair<instant, std::string> cases[] = {
      {instant{0, 0}, "1970-01-01T00:00:00.000000Z"},
      {instant{-1, 999999999}, "1969-12-31T23:59:59.999999Z"},
      {utc(2024, 3, 1, 9, 15, 0, 1999), "2024-03-01T09:15:00.000001Z"},
      {utc(2000, 2, 29, 23, 59, 59, 500000000), "2000-02-29T23:59:59.500000Z"},
      {utc(0, 1, 1), "0000-01-01T00:00:00.000000Z"},
      {utc(9999, 12, 31, 23, 59, 59, 999999999), "9999-12-31T23:59:59.999999Z"},
      {instant{utc(0, 1, 1).seconds - 1, 0}, ""},
      {utc(10000, 1, 1), ""},
  };
  for (const auto& [time, text] : cases) {
    SCOPED_TRACE(text);
    const std::int64_t micros = microseconds_of(time);
    EXPECT_EQ(format_timestamp(micros), text);
    if (text.empty()) continue;
    const std::optional<instant> back = parse_timestamp(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(microseconds_of(*back), micros);
  }
}

}  // namespace
}  // namespace logfsm
