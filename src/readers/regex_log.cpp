#include "readers/regex_log.h"

#ifdef LOGFSM_HAVE_RE2

#include <re2/re2.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "model/name_numbers.h"
#include "readers/line_reader.h"
#include "readers/timestamp.h"

namespace logfsm {
namespace {

// The pattern with every group opening "(?<" spelled "(?P<", the only form
// this RE2 reads. What RE2 reads as a literal is left as it is: the byte
// after a backslash, the text of \Q...\E, and the insides of [...] classes
// (where "]" right after "[" or "[^" is a literal and [:name:] a nested
// class). "(?<=" and "(?<!" stay, for RE2 to reject.
std::string with_p_group_names(std::string_view pattern) {
  std::string out;
  out.reserve(pattern.size() + 8);
  std::size_t i = 0;
  bool in_class = false;
  const auto copy_to = [&](std::size_t end) {
    end = std::min(end, pattern.size());
    out.append(pattern.substr(i, end - i));
    i = end;
  };
  while (i < pattern.size()) {
    const std::string_view rest = pattern.substr(i);
    if (rest.starts_with("\\Q") && !in_class) {
      const std::size_t end = pattern.find("\\E", i + 2);
      copy_to(end == std::string_view::npos ? pattern.size() : end + 2);
    } else if (rest[0] == '\\') {
      copy_to(i + 2);
    } else if (in_class) {
      const std::size_t posix_end =
          rest.starts_with("[:") ? pattern.find(":]", i + 2) : std::string_view::npos;
      if (posix_end != std::string_view::npos) {
        copy_to(posix_end + 2);
      } else {
        in_class = rest[0] != ']';
        copy_to(i + 1);
      }
    } else if (rest[0] == '[') {
      std::size_t end = i + 1;
      if (end < pattern.size() && pattern[end] == '^') ++end;
      if (end < pattern.size() && pattern[end] == ']') ++end;
      copy_to(end);
      in_class = true;
    } else if (rest.starts_with("(?<") && rest.size() > 3 && rest[3] != '=' &&
               rest[3] != '!') {
      out.append("(?P<");
      i += 3;
    } else {
      copy_to(i + 1);
    }
  }
  return out;
}

// `text` with its line breaks spelled \n and \r, for a one-line message.
std::string one_line(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out;
}

status bad_pattern(std::string_view flag, std::string_view pattern,
                   std::string_view why) {
  return status(status_code::bad_argument,
                std::string(flag) + " " + one_line(pattern) + ": " + one_line(why));
}

// A name given to two groups, or "". (Older RE2 versions accept that and
// newer ones do not; logfsm rejects it whichever RE2 it is built with.)
std::string repeated_group_name(const RE2& re) {
  std::set<std::string_view> seen;
  for (const auto& [index, name] : re.CapturingGroupNames()) {
    if (!seen.insert(name).second) return name;
  }
  return "";
}

// Compiles `pattern` (after with_p_group_names) into `re`, quietly.
status compile(std::string_view flag, std::string_view pattern,
               std::unique_ptr<RE2>& re) {
  RE2::Options options;
  options.set_log_errors(false);
  re = std::make_unique<RE2>(with_p_group_names(pattern), options);
  if (!re->ok()) return bad_pattern(flag, pattern, re->error());
  if (const std::string name = repeated_group_name(*re); !name.empty()) {
    return bad_pattern(flag, pattern, "duplicate capture group name: " + name);
  }
  return status();
}

// RE2 objects can be neither copied nor moved, hence held by unique_ptr.
struct event_pattern {
  std::unique_ptr<RE2> re;
  int event_group = 0;
  int case_group = -1;  // -1: none
  int time_group = -1;  // -1: none
};

// Every pattern of the options, compiled.
struct line_patterns {
  std::unique_ptr<RE2> separator;  // null: none
  std::vector<std::unique_ptr<RE2>> skip;
  std::vector<event_pattern> events;
  bool any_case_group = false;
  int submatches = 0;  // the most any event pattern needs: 1 + its last used group
};

status compile_event_pattern(std::string_view pattern, line_patterns& patterns) {
  event_pattern compiled;
  if (status s = compile("--regex", pattern, compiled.re); !s.ok()) return s;
  const std::map<std::string, int>& groups = compiled.re->NamedCapturingGroups();
  const auto event = groups.find("event");
  if (event == groups.end())
    return bad_pattern("--regex", pattern, "no group named event");
  compiled.event_group = event->second;
  if (const auto c = groups.find("case"); c != groups.end()) {
    compiled.case_group = c->second;
    patterns.any_case_group = true;
  }
  if (const auto t = groups.find("time"); t != groups.end()) compiled.time_group = t->second;
  patterns.submatches = std::max({patterns.submatches, compiled.event_group + 1,
                                  compiled.case_group + 1, compiled.time_group + 1});
  patterns.events.push_back(std::move(compiled));
  return status();
}

status compile_all(const read_options& options, line_patterns& patterns) {
  if (options.regex.empty()) {
    return status(status_code::bad_argument, "raw text logs need --regex PATTERN");
  }
  if (!options.separator.empty()) {
    if (status s = compile("--separator", options.separator, patterns.separator);
        !s.ok()) {
      return s;
    }
  }
  for (const std::string& skip : options.skip) {
    patterns.skip.emplace_back();
    if (status s = compile("--skip", skip, patterns.skip.back()); !s.ok()) return s;
  }
  for (const std::string& pattern : options.regex) {
    if (status s = compile_event_pattern(pattern, patterns); !s.ok()) return s;
  }
  return status();
}

bool matches_whole(const RE2& re, std::string_view line) {
  return re.Match(line, 0, line.size(), RE2::ANCHOR_BOTH, nullptr, 0);
}

bool is_blank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Gathers events into traces and appends each trace to the log once it is
// complete, in the order of the traces' first events. Without case values
// the one open trace is written to the log as it grows; with them each open
// trace is buffered as name numbers (and times, once some event has one).
class trace_assembly {
 public:
  trace_assembly(event_log& log, bool by_case) : log_(log), by_case_(by_case) {}

  // Adds the event `name` at `time` (or event_log::no_time) to the open
  // trace of `case_value` (ignored without case values), opening it when
  // there is none.
  void add(std::string_view case_value, std::string_view name, std::int64_t time) {
    if (!by_case_) {
      log_.add_event(name, time);
      open_ = true;
      return;
    }
    const std::uint32_t trace = open_cases_.number(case_value);
    if (trace == open_traces_.size()) open_traces_.emplace_back();
    open_trace& open = open_traces_[trace];
    open.names.push_back(names_.number(name));
    if (!open.times.empty()) {
      open.times.push_back(time);
    } else if (time != event_log::no_time) {
      open.times.assign(open.names.size() - 1, event_log::no_time);
      open.times.push_back(time);
    }
  }

  // Ends every open trace.
  void end_traces() {
    if (open_) log_.end_line();
    open_ = false;
    for (std::uint32_t t = 0; t < open_traces_.size(); ++t) {
      const open_trace& trace = open_traces_[t];
      for (std::size_t i = 0; i < trace.names.size(); ++i) {
        log_.add_event(names_[trace.names[i]],
                       trace.times.empty() ? event_log::no_time : trace.times[i]);
      }
      log_.end_line(open_cases_[t]);
    }
    open_traces_.clear();
    open_cases_.clear();
  }

 private:
  struct open_trace {
    std::vector<std::uint32_t> names;  // numbers in names_
    std::vector<std::int64_t> times;   // empty while no event has one
  };

  event_log& log_;
  const bool by_case_;
  bool open_ = false;  // without case values: the trace has an event
  name_numbers names_;       // buffered names
  name_numbers open_cases_;  // case values, numbered as open_traces_
  std::vector<open_trace> open_traces_;
};

// The time a group matched, or event_log::no_time when it took no part or
// does not parse.
std::int64_t time_of(const re2::StringPiece& group, const std::string& layout) {
  if (group.data() == nullptr) return event_log::no_time;
  const std::optional<instant> time =
      parse_timestamp(std::string_view(group.data(), group.size()), layout);
  return time ? microseconds_of(*time) : event_log::no_time;
}

// Takes each line in turn as a separator, a dropped line or an event for
// `traces`; counts the lines no pattern matched and keeps the first's number.
class line_matcher {
 public:
  line_matcher(const line_patterns& patterns, const std::string& timestamp_format,
               trace_assembly& traces)
      : patterns_(patterns),
        timestamp_format_(timestamp_format),
        traces_(traces),
        groups_(patterns.submatches) {}

  void read(std::string_view line, std::size_t number) {
    if (patterns_.separator && matches_whole(*patterns_.separator, line)) {
      traces_.end_traces();
      return;
    }
    if (is_blank(line)) return;
    for (const std::unique_ptr<RE2>& skip : patterns_.skip) {
      if (matches_whole(*skip, line)) return;
    }
    for (const event_pattern& pattern : patterns_.events) {
      const int used =
          std::max({pattern.event_group, pattern.case_group, pattern.time_group}) + 1;
      if (pattern.re->Match(line, 0, line.size(), RE2::ANCHOR_BOTH, groups_.data(),
                            used)) {
        const std::string_view case_value =
            pattern.case_group < 0 ? std::string_view()
                                   : std::string_view(groups_[pattern.case_group]);
        const std::int64_t time =
            pattern.time_group < 0 ? event_log::no_time
                                   : time_of(groups_[pattern.time_group], timestamp_format_);
        traces_.add(case_value, groups_[pattern.event_group], time);
        return;
      }
    }
    if (unmatched_++ == 0) first_unmatched_ = number;
  }

  void add_note(read_notes& notes) const {
    if (unmatched_ == 1) {
      notes.push_back("1 line matched no pattern and was skipped (line " +
                      std::to_string(first_unmatched_) + ")");
    } else if (unmatched_ > 1) {
      notes.push_back(std::to_string(unmatched_) +
                      " lines matched no pattern and were skipped (first: line " +
                      std::to_string(first_unmatched_) + ")");
    }
  }

 private:
  const line_patterns& patterns_;
  const std::string& timestamp_format_;
  trace_assembly& traces_;
  std::vector<re2::StringPiece> groups_;  // reused for every line
  std::size_t unmatched_ = 0;
  std::size_t first_unmatched_ = 0;
};

}  // namespace

status read_regex_log(input_file& in, const read_options& options, event_log& log,
                      read_notes& notes) {
  line_patterns patterns;
  if (status s = compile_all(options, patterns); !s.ok()) return s;
  trace_assembly traces(log, patterns.any_case_group);
  line_matcher matcher(patterns, options.timestamp_format, traces);
  line_reader lines(in, /*cr_ends_line=*/true);
  std::string_view line;
  while (lines.next(line)) {
    if (lines.line_number() == 1 && line.starts_with("\xEF\xBB\xBF"))
      line.remove_prefix(3);
    matcher.read(line, lines.line_number());
  }
  if (!in.error().ok()) return in.error();
  traces.end_traces();
  matcher.add_note(notes);
  return status();
}

bool reads_regex_logs() { return true; }

}  // namespace logfsm

#else  // !LOGFSM_HAVE_RE2

namespace logfsm {

status read_regex_log(input_file& /*in*/, const read_options& /*options*/,
                      event_log& /*log*/, read_notes& /*notes*/) {
  return status(status_code::bad_log, "this build reads no raw text logs (no RE2)");
}

bool reads_regex_logs() { return false; }

}  // namespace logfsm

#endif  // LOGFSM_HAVE_RE2
