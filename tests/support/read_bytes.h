// Running a log reader on bytes held in memory.
#ifndef LOGFSM_TESTS_SUPPORT_READ_BYTES_H_
#define LOGFSM_TESTS_SUPPORT_READ_BYTES_H_

#include <string_view>

#include "readers/log_source.h"

namespace logfsm::testing {

struct read_outcome {
  status result;
  raw_traces traces;
  read_notes notes;
};

// Reads `bytes` with `reader` (as they are: nothing is decompressed).
read_outcome read_bytes(log_reader reader, std::string_view bytes,
                        const read_options& options = {});

}  // namespace logfsm::testing

#endif  // LOGFSM_TESTS_SUPPORT_READ_BYTES_H_
