#include "support/read_bytes.h"

#include <sstream>
#include <string>

#include "readers/timestamp.h"

namespace logfsm::testing {

read_outcome read_bytes(log_reader reader, std::string_view bytes, const read_options& options) {
  std::istringstream stream{std::string(bytes)};
  input_file in(stream);
  event_log log;
  read_outcome outcome;
  outcome.result = reader(in, options, log, outcome.notes);
  outcome.traces = log.lines();
  describe_cases_and_times(log, outcome);
  return outcome;
}

void describe_cases_and_times(const event_log& log, read_outcome& outcome) {
  for (std::size_t i = 0; i < log.line_count(); ++i) {
    if (log.has_case_ids()) outcome.case_ids.emplace_back(log.case_id(i));
    if (!log.has_times()) continue;
    outcome.times.emplace_back();
    for (std::size_t e = 0; e < log.line(i).size(); ++e) {
      const std::int64_t t = log.time(i, e);
      outcome.times.back().push_back(t == event_log::no_time ? "-" : format_timestamp(t));
    }
  }
}

}  // namespace logfsm::testing
