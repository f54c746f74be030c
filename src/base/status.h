// The one way an operation of logfsm fails: a code that says what kind of
// failure it is (and so which exit status it gives) and a one-line message
// for the user. Readers, writers, the model file reader and the commands
// return a status; a default status is success.
#ifndef LOGFSM_BASE_STATUS_H_
#define LOGFSM_BASE_STATUS_H_

#include <string>
#include <utility>

namespace logfsm {

enum class status_code {
  ok,
  empty_log,     // the log holds no line or no event
  bad_argument,  // a command line, an answer or a file name that cannot be used
  cannot_write,  // an output file could not be written
  cannot_read,   // an input file cannot be opened or read
  bad_log,       // a log is not well-formed in its format, or this build cannot read it
  bad_model,     // a model file is not a machine written by logfsm
};

class [[nodiscard]] status {
 public:
  // Success.
  status() = default;
  // A failure. Requires: code is not ok; message is one line, no line end.
  status(status_code code, std::string message)
      : code_(code), message_(std::move(message)) {}

  bool ok() const { return code_ == status_code::ok; }
  status_code code() const { return code_; }
  // Empty for success.
  const std::string& message() const { return message_; }

 private:
  status_code code_ = status_code::ok;
  std::string message_;
};

}  // namespace logfsm

#endif  // LOGFSM_BASE_STATUS_H_
