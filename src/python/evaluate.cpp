#include "python/evaluate.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <thread>

#include "evaluation/evaluation.h"

namespace logfsm::python {
namespace {

// A count from `min` to `max`, or a ValueError naming `what`.
std::size_t count_in(py::handle value, const char* what, long long min, long long max) {
  if (!PyLong_Check(value.ptr()))
    throw py::type_error(std::string(what) + " is a whole number");
  const long long n = PyLong_AsLongLong(value.ptr());  // -1 when beyond long long
  if (n == -1 && PyErr_Occurred()) PyErr_Clear();
  if (n < min || n > max) {
    raise(status(status_code::bad_argument,
                 std::string(what) + " takes a whole number from " + std::to_string(min) +
                     " to " + std::to_string(max)));
  }
  return static_cast<std::size_t>(n);
}

}  // namespace

py::list evaluate_traces(py::handle traces, py::handle ks, py::handle folds,
                         const py::object& negatives, const py::object& jobs) {
  eval_options options;
  std::string k_list;
  if (py::isinstance<py::str>(ks)) {
    k_list = py::str(ks);
  } else {
    for (py::handle k : ks) {
      if (!PyLong_Check(k.ptr())) throw py::type_error("ks holds whole numbers");
      k_list += (k_list.empty() ? "" : ",") + std::string(py::str(k));
    }
  }
  check(parse_k_list(k_list, options.ks));
  options.folds = count_in(folds, "folds", 2, 1000000);
  options.jobs = jobs.is_none() ? std::max(1u, std::thread::hardware_concurrency())
                                : static_cast<unsigned>(count_in(jobs, "jobs", 1, 1024));
  const event_log log = traces_to_log(traces);
  event_log rejected;
  if (!negatives.is_none()) {
    rejected = traces_to_log(negatives);
    options.negatives = &rejected;
  }
  eval_report report;
  status evaluated;
  {
    py::gil_scoped_release unlocked;
    evaluated = logfsm::evaluate(log, options, report);
  }
  check(evaluated);
  std::ostringstream text;
  write_eval_json(text, report);
  return py::module_::import("json").attr("loads")(text.str())["rows"];
}

}  // namespace logfsm::python
