#include "support/read_bytes.h"

#include <sstream>
#include <string>

namespace logfsm::testing {

read_outcome read_bytes(log_reader reader, std::string_view bytes, const read_options& options) {
  std::istringstream stream{std::string(bytes)};
  input_file in(stream);
  event_log log;
  read_outcome outcome;
  outcome.result = reader(in, options, log, outcome.notes);
  outcome.traces = log.lines();
  return outcome;
}

}  // namespace logfsm::testing
