// Running a log reader on bytes held in memory.
#ifndef LOGFSM_TESTS_SUPPORT_READ_BYTES_H_
#define LOGFSM_TESTS_SUPPORT_READ_BYTES_H_

#include <string>
#include <string_view>
#include <vector>

#include "readers/log_source.h"

namespace logfsm::testing {

struct read_outcome {
  status result;
  raw_traces traces;
  read_notes notes;
  // Per trace, its case id; empty when the log has none.
  std::vector<std::string> case_ids;
  // Per trace, each event's time as format_timestamp writes it ("-" for
  // none); empty when the log has no times.
  std::vector<std::vector<std::string>> times;
};

// The case ids and times of `log`, as read_outcome holds them.
void describe_cases_and_times(const event_log& log, read_outcome& outcome);

// Reads `bytes` with `reader` (as they are: nothing is decompressed).
read_outcome read_bytes(log_reader reader, std::string_view bytes,
                        const read_options& options = {});

}  // namespace logfsm::testing

#endif  // LOGFSM_TESTS_SUPPORT_READ_BYTES_H_
