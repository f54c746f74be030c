// Reading the two inputs of the commands that put logs on a learned machine
// (check, view): the model file and the log.
#ifndef LOGFSM_FRONTEND_MODEL_INPUT_H_
#define LOGFSM_FRONTEND_MODEL_INPUT_H_

#include <ostream>
#include <string>
#include <string_view>

#include "base/status.h"
#include "checking/model_file.h"
#include "model/event_log.h"
#include "readers/read_options.h"

namespace logfsm {

// Reads the model file `name`. Fails with cannot_read "NAME: cannot open or
// read", or bad_model "NAME: why".
status load_model(const std::string& name, machine_shape& model);

// Reads the log `name` in its format (a name of no known format is read as
// a `;` text log), writing each of the reader's notes to `err` as a line
// after `prefix`. Fails with cannot_read "NAME: cannot open", or the
// reader's failure.
status load_log(const std::string& name, const read_options& options, event_log& log,
                std::ostream& err, std::string_view prefix);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_MODEL_INPUT_H_
