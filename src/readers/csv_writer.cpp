#include "readers/csv_writer.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/name_numbers.h"
#include "readers/timestamp.h"

namespace logfsm {
namespace {

// `field` as a CSV field, quoted when it must be.
void append_field(std::string_view field, std::string& text) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    text.append(field);
    return;
  }
  text += '"';
  for (const char c : field) {
    if (c == '"') text += '"';
    text += c;
  }
  text += '"';
}

// How many of something a note counts, and the place of the first.
struct tally {
  std::size_t count = 0;
  std::string first;

  void add(const std::string& place) {
    if (count++ == 0) first = place;
  }
  // "1 ONE (PLACE)" or "N MANY (first: PLACE)".
  void note(std::string_view one, std::string_view many,
            std::vector<std::string>& notes) const {
    if (count == 0) return;
    notes.push_back(std::to_string(count) + " " + std::string(count == 1 ? one : many) +
                    " (" + (count == 1 ? "" : "first: ") + first + ")");
  }
};

std::string trace_place(std::size_t i) { return "trace " + std::to_string(i + 1); }

// The case id each trace with events is written with, as a CSV field: its
// own when it has one that no earlier such trace has, else its number (see
// csv_writer.h).
std::vector<std::string> written_case_ids(const event_log& log, tally& numbered) {
  name_numbers taken;
  std::vector<std::uint32_t> owner;  // per id in `taken`: the first trace with it
  for (std::size_t i = 0; i < log.line_count(); ++i) {
    if (log.case_id(i).empty() || log.line(i).empty()) continue;
    if (taken.number(log.case_id(i)) == owner.size()) {
      owner.push_back(static_cast<std::uint32_t>(i));
    }
  }
  std::vector<std::string> ids(log.line_count());
  for (std::size_t i = 0; i < log.line_count(); ++i) {
    if (log.line(i).empty()) continue;  // no rows
    const std::string_view own = log.case_id(i);
    std::string id(own);
    if (own.empty() || owner[taken.find(own)] != i) {
      const std::string number = std::to_string(i + 1);
      id = number;
      for (std::size_t marks = 1; taken.find(id) != name_numbers::none; ++marks) {
        id = std::string(marks, '#').append(number);
      }
      taken.number(id);
      if (log.has_case_ids()) numbered.add(trace_place(i));
    }
    append_field(id, ids[i]);
  }
  return ids;
}

}  // namespace

std::vector<std::string> write_csv_log(const event_log& log, std::string& text) {
  tally empty, numbered, untimed;
  const std::vector<std::string> ids = written_case_ids(log, numbered);
  std::vector<std::string> names(log.names().size());
  for (std::size_t n = 0; n < names.size(); ++n) append_field(log.names()[n], names[n]);
  text += "case:concept:name,concept:name,time:timestamp\n";
  for (std::size_t i = 0; i < log.line_count(); ++i) {
    const auto line = log.line(i);
    if (line.empty()) empty.add(trace_place(i));
    for (std::size_t e = 0; e < line.size(); ++e) {
      text.append(ids[i]).append(",").append(names[line[e]]).append(",");
      if (const std::int64_t time = log.time(i, e); time != event_log::no_time) {
        const std::string written = format_timestamp(time);
        if (written.empty())
          untimed.add(trace_place(i) + ", event " + std::to_string(e + 1));
        text += written;
      }
      text += '\n';
    }
  }
  std::vector<std::string> notes;
  empty.note("empty trace left out", "empty traces left out", notes);
  numbered.note("trace without a case id of its own written with its number",
                "traces without a case id of their own written with their numbers",
                notes);
  untimed.note("time outside the years 0000 to 9999 written empty",
               "times outside the years 0000 to 9999 written empty", notes);
  return notes;
}

}  // namespace logfsm
