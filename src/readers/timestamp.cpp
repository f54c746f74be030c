#include "readers/timestamp.h"

#include <array>
#include <cassert>
#include <cctype>

namespace logfsm {
namespace {

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t days_from_civil(std::int64_t y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// The date of the proleptic Gregorian calendar `days` after 1970-01-01.
void civil_from_days(std::int64_t days, std::int64_t& y, int& m, int& d) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t doe = days - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = yoe + era * 400 + (m <= 2 ? 1 : 0);
}

// `value` in `width` decimal digits, zeros in front. Requires: 0 <= value.
void append_digits(std::int64_t value, int width, std::string& out) {
  assert(value >= 0);
  char digits[20];
  for (int i = width - 1; i >= 0; --i, value /= 10) {
    digits[i] = static_cast<char>('0' + value % 10);
  }
  out.append(digits, static_cast<std::size_t>(width));
}

int days_in_month(std::int64_t y, int m) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[static_cast<std::size_t>(m - 1)];
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

struct fields {
  std::int64_t year = 1970;
  int month = 1, day = 1, hour = 0, minute = 0, second = 0;
  std::int32_t nanos = 0;
  int zone_minutes = 0;  // east of UTC
  bool hour12 = false;
  int pm = -1;  // -1: no %p seen
};

// Reads text step by step; every reader returns false on a mismatch.
class scanner {
 public:
  explicit scanner(std::string_view text) : text_(text) {}

  bool at_end() const { return pos_ == text_.size(); }
  char peek() const { return at_end() ? '\0' : text_[pos_]; }
  bool literal(char c) {
    if (peek() != c || at_end()) return false;
    ++pos_;
    return true;
  }
  void skip_blanks() {
    while (!at_end() && is_blank(text_[pos_])) ++pos_;
  }
  // Between `min` and `max` decimal digits.
  template <typename T>
  bool number(T& value, int min, int max) {
    int n = 0;
    T v = 0;
    while (n < max && !at_end() && is_digit(text_[pos_])) {
      v = v * 10 + (text_[pos_++] - '0');
      ++n;
    }
    value = v;
    return n >= min;
  }
  // Fraction digits: the first nine give the nanoseconds.
  bool fraction(std::int32_t& nanos) {
    int n = 0;
    std::int32_t v = 0;
    while (!at_end() && is_digit(text_[pos_])) {
      if (n < 9) v = v * 10 + (text_[pos_] - '0');
      ++pos_;
      ++n;
    }
    for (int i = n; i < 9; ++i) v *= 10;
    nanos = v;
    return n > 0;
  }
  // "Z", or a sign and hh, hh:mm or hhmm.
  bool zone(int& minutes) {
    if (literal('Z') || literal('z')) {
      minutes = 0;
      return true;
    }
    const char sign = peek();
    if (sign != '+' && sign != '-') return false;
    ++pos_;
    int hh = 0, mm = 0;
    if (!number(hh, 2, 2)) return false;
    if (literal(':')) {
      if (!number(mm, 2, 2)) return false;
    } else if (is_digit(peek())) {
      if (!number(mm, 2, 2)) return false;
    }
    if (hh > 23 || mm > 59) return false;
    minutes = (sign == '-' ? -1 : 1) * (hh * 60 + mm);
    return true;
  }
  bool month_name(int& month) {
    static constexpr std::array<std::string_view, 12> kNames = {
        "january", "february", "march",     "april",   "may",      "june",
        "july",    "august",   "september", "october", "november", "december"};
    for (std::size_t m = 0; m < kNames.size(); ++m) {
      for (const std::size_t length : {kNames[m].size(), std::size_t{3}}) {
        if (matches_folded(kNames[m].substr(0, length))) {
          pos_ += length;
          month = static_cast<int>(m) + 1;
          return true;
        }
      }
    }
    return false;
  }
  bool am_pm(int& pm) {
    if (matches_folded("am")) pm = 0;
    else if (matches_folded("pm")) pm = 1;
    else return false;
    pos_ += 2;
    return true;
  }

 private:
  bool matches_folded(std::string_view lower) const {
    if (text_.size() - pos_ < lower.size()) return false;
    for (std::size_t i = 0; i < lower.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(text_[pos_ + i])) != lower[i]) return false;
    }
    return true;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

bool scan_iso(scanner& s, fields& f) {
  if (!s.number(f.year, 4, 4) || !s.literal('-') || !s.number(f.month, 2, 2) ||
      !s.literal('-') || !s.number(f.day, 2, 2)) {
    return false;
  }
  if (s.at_end()) return true;
  if (!s.literal('T') && !s.literal('t') && !s.literal(' ')) return false;
  if (!s.number(f.hour, 2, 2) || !s.literal(':') || !s.number(f.minute, 2, 2)) return false;
  if (s.literal(':')) {
    if (!s.number(f.second, 2, 2)) return false;
    if ((s.literal('.') || s.literal(',')) && !s.fraction(f.nanos)) return false;
  }
  s.skip_blanks();
  return s.at_end() || s.zone(f.zone_minutes);
}

bool scan_layout(scanner& s, std::string_view layout, fields& f) {
  for (std::size_t i = 0; i < layout.size(); ++i) {
    const char c = layout[i];
    if (is_blank(c)) {
      s.skip_blanks();
      continue;
    }
    if (c != '%' || i + 1 == layout.size()) {
      if (!s.literal(c)) return false;
      continue;
    }
    bool ok = true;
    switch (layout[++i]) {
      case 'Y': ok = s.number(f.year, 1, 4); break;
      case 'y': {
        int yy = 0;
        ok = s.number(yy, 2, 2);
        f.year = yy < 69 ? 2000 + yy : 1900 + yy;
        break;
      }
      case 'm': ok = s.number(f.month, 1, 2); break;
      case 'd': ok = s.number(f.day, 1, 2); break;
      case 'H': ok = s.number(f.hour, 1, 2); break;
      case 'I': ok = s.number(f.hour, 1, 2); f.hour12 = true; break;
      case 'M': ok = s.number(f.minute, 1, 2); break;
      case 'S': ok = s.number(f.second, 1, 2); break;
      case 'f': ok = s.fraction(f.nanos); break;
      case 'z': ok = s.zone(f.zone_minutes); break;
      case 'b': ok = s.month_name(f.month); break;
      case 'p': ok = s.am_pm(f.pm); break;
      case 'T': ok = scan_layout(s, "%H:%M:%S", f); break;
      case 'F': ok = scan_layout(s, "%Y-%m-%d", f); break;
      case '%': ok = s.literal('%'); break;
      default: ok = false; break;
    }
    if (!ok) return false;
  }
  return true;
}

}  // namespace

std::optional<instant> parse_timestamp(std::string_view text, std::string_view layout) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  scanner s(text);
  fields f;
  if (!(layout.empty() ? scan_iso(s, f) : scan_layout(s, layout, f)) || !s.at_end()) {
    return std::nullopt;
  }
  if (f.hour12) {
    if (f.hour < 1 || f.hour > 12 || f.pm < 0) return std::nullopt;
    f.hour = f.hour % 12 + (f.pm == 1 ? 12 : 0);
  }
  if (f.month < 1 || f.month > 12 || f.day < 1 || f.day > days_in_month(f.year, f.month) ||
      f.hour > 23 || f.minute > 59 || f.second > 60) {
    return std::nullopt;
  }
  instant result;
  result.seconds = days_from_civil(f.year, f.month, f.day) * 86400 + f.hour * 3600 +
                   f.minute * 60 + f.second - std::int64_t{f.zone_minutes} * 60;
  result.nanos = f.nanos;
  return result;
}

std::string format_timestamp(std::int64_t microseconds) {
  constexpr std::int64_t kPerDay = std::int64_t{86400} * 1000000;
  std::int64_t days = microseconds / kPerDay;
  std::int64_t within = microseconds % kPerDay;
  if (within < 0) {
    within += kPerDay;
    --days;
  }
  std::int64_t year;
  int month, day;
  civil_from_days(days, year, month, day);
  if (year < 0 || year > 9999) return {};
  std::string out;
  out.reserve(27);
  const std::int64_t seconds = within / 1000000;
  append_digits(year, 4, out);
  out += '-';
  append_digits(month, 2, out);
  out += '-';
  append_digits(day, 2, out);
  out += 'T';
  append_digits(seconds / 3600, 2, out);
  out += ':';
  append_digits(seconds / 60 % 60, 2, out);
  out += ':';
  append_digits(seconds % 60, 2, out);
  out += '.';
  append_digits(within % 1000000, 6, out);
  out += 'Z';
  return out;
}

}  // namespace logfsm
