#include "python/names.h"

#include <cstddef>
#include <cstdint>
#include <sstream>

namespace logfsm::python {

PyObject* model_error = nullptr;

[[noreturn]] void raise(const status& s) {
  PyObject* type = PyExc_ValueError;
  switch (s.code()) {
    case status_code::cannot_read:
    case status_code::cannot_write:
      type = PyExc_OSError;
      break;
    case status_code::bad_model:
      type = model_error;
      break;
    default:
      break;
  }
  PyErr_SetString(type, s.message().c_str());
  throw py::error_already_set();
}

void check(const status& s) {
  if (!s.ok()) raise(s);
}

py::str decoded(std::string_view bytes) {
  PyObject* text = PyUnicode_DecodeUTF8(
      bytes.data(), static_cast<Py_ssize_t>(bytes.size()), "surrogateescape");
  if (text == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(text);
}

py::list decoded_list(const std::vector<std::string>& names) {
  py::list list;
  for (const std::string& name : names) list.append(decoded(name));
  return list;
}

std::string name_bytes(py::handle name, const std::string& where) {
  if (PyBytes_Check(name.ptr())) {
    return std::string(PyBytes_AS_STRING(name.ptr()),
                       static_cast<std::size_t>(PyBytes_GET_SIZE(name.ptr())));
  }
  if (!PyUnicode_Check(name.ptr())) {
    throw py::type_error("an event name is a str or bytes, not " +
                         std::string(Py_TYPE(name.ptr())->tp_name) + " (" + where + ")");
  }
  Py_ssize_t size = 0;
  if (const char* utf8 = PyUnicode_AsUTF8AndSize(name.ptr(), &size)) {
    return std::string(utf8, static_cast<std::size_t>(size));
  }
  PyErr_Clear();  // lone surrogates: the bytes "surrogateescape" stands for
  PyObject* raw = PyUnicode_AsEncodedString(name.ptr(), "utf-8", "surrogateescape");
  if (raw == nullptr) throw py::error_already_set();
  const py::bytes owned = py::reinterpret_steal<py::bytes>(raw);
  return std::string(owned);
}

event_log traces_to_log(py::handle traces) {
  event_log log;
  std::size_t index = 0;
  for (py::handle trace : traces) {
    if (PyUnicode_Check(trace.ptr()) || PyBytes_Check(trace.ptr())) {
      throw py::type_error("trace " + std::to_string(index) +
                           " is one str or bytes; a trace is a sequence of event names");
    }
    std::size_t position = 0;
    for (py::handle name : trace) {
      log.add_event(name_bytes(name, "trace " + std::to_string(index) + ", event " +
                                         std::to_string(position)));
      ++position;
    }
    log.end_line();
    ++index;
  }
  return log;
}

py::list log_to_traces(const event_log& log) {
  std::vector<py::str> names;
  names.reserve(log.names().size());
  for (const std::string& name : log.names()) names.push_back(decoded(name));
  py::list traces;
  for (std::size_t i = 0; i < log.line_count(); ++i) {
    py::list trace;
    for (const std::uint32_t n : log.line(i)) trace.append(names[n]);
    traces.append(std::move(trace));
  }
  return traces;
}

void warn_notes(const std::string& notes) {
  std::istringstream lines(notes);
  for (std::string line; std::getline(lines, line);) {
    if (PyErr_WarnEx(PyExc_UserWarning, line.c_str(), 1) != 0)
      throw py::error_already_set();
  }
}

}  // namespace logfsm::python
