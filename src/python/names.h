// Event names and traces between Python and the libraries, and failures as
// Python exceptions.
//
// Event names cross the boundary as bytes: a str is taken as UTF-8 and a
// bytes object byte for byte; names handed back are str, decoded from UTF-8
// with "surrogateescape", so a name that is not UTF-8 comes back as a str
// that encodes to the same bytes again. Failures raise the command line's
// one-line message: ValueError for an argument or a log that cannot be used,
// OSError for a file that cannot be opened, read or written, ModelError (a
// ValueError) for a model file that is not a machine written by logfsm.
#ifndef LOGFSM_PYTHON_NAMES_H_
#define LOGFSM_PYTHON_NAMES_H_

#include <pybind11/pybind11.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "model/event_log.h"

namespace py = pybind11;

namespace logfsm::python {

// logfsm.ModelError, made when the module is imported.
extern PyObject* model_error;

// Raises the Python exception for the failure `s` (as py::error_already_set).
[[noreturn]] void raise(const status& s);
// Raises for `s` unless it is ok.
void check(const status& s);

// `bytes` as a str, decoded from UTF-8 with "surrogateescape".
py::str decoded(std::string_view bytes);
py::list decoded_list(const std::vector<std::string>& names);

// The bytes of the event name `name` (str or bytes); a TypeError naming
// `where` for anything else.
std::string name_bytes(py::handle name, const std::string& where);

// Every trace of `traces` (an iterable of sequences of names) as a line of
// a log, empty traces included. A TypeError for a trace that is one str or
// bytes (a name, not a sequence of names) or a name of another type.
event_log traces_to_log(py::handle traces);
// Every line of `log` as a list of names.
py::list log_to_traces(const event_log& log);

// Each line of `notes` (a reader's notes) as a UserWarning.
void warn_notes(const std::string& notes);

}  // namespace logfsm::python

#endif  // LOGFSM_PYTHON_NAMES_H_
