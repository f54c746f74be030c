// Timestamps of event logs, read as instants so that events are ordered by
// when they happened whatever zone their writer was in.
#ifndef LOGFSM_READERS_TIMESTAMP_H_
#define LOGFSM_READERS_TIMESTAMP_H_

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace logfsm {

// A point in time: seconds since 1970-01-01 00:00:00 UTC and nanoseconds
// after it (digits beyond the ninth are dropped).
struct instant {
  std::int64_t seconds = 0;
  std::int32_t nanos = 0;
  auto operator<=>(const instant&) const = default;
};

// Reads `text` (blanks around it ignored) as the timestamp layout `layout`,
// or as ISO 8601 when `layout` is empty: YYYY-MM-DD, then optionally "T" or
// a blank, hh:mm, :ss, a fraction after "." or ",", and a zone "Z", "+hh",
// "+hh:mm" or "+hhmm" (or "-"). No zone means UTC; no time means midnight.
//
// A layout holds strftime-style fields: %Y (year), %y (two digits: 69-99 are
// 19xx, else 20xx), %m, %d, %H, %I (12-hour, with %p AM or PM), %M, %S (one
// or two digits each), %b (English month name or its first three letters),
// %f (fraction digits), %z (zone as above), %T (%H:%M:%S), %F (%Y-%m-%d),
// %% (a "%"); a blank matches any run of blanks; every other character
// itself. The whole text must match. None when it does not, or when a field
// is out of range (February 30th, hour 24, ...).
std::optional<instant> parse_timestamp(std::string_view text, std::string_view layout = {});

// `t` as a log keeps it: microseconds since 1970-01-01 00:00:00 UTC, rounded
// down.
inline std::int64_t microseconds_of(const instant& t) {
  return t.seconds * 1000000 + t.nanos / 1000;
}

// `microseconds` (since 1970-01-01 00:00:00 UTC) in ISO 8601, in UTC with
// six fraction digits: "2024-03-01T09:15:00.000000Z", which parse_timestamp
// reads back to the same microsecond. Empty when the year is not 0000 to
// 9999, which that form cannot hold.
std::string format_timestamp(std::int64_t microseconds);

}  // namespace logfsm

#endif  // LOGFSM_READERS_TIMESTAMP_H_
