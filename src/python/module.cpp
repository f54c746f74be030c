// The Python module `logfsm`: learning, checking, viewing and reading logs
// from Python through the same library calls as the command line, so every
// file and report has the command line's bytes. This file only declares
// the module's names and documents them; names.h says how names, traces
// and failures cross the boundary.
#include <pybind11/pybind11.h>
#include <pybind11/stl/filesystem.h>

#include <string>

#include "evaluation/evaluation.h"
#include "python/evaluate.h"
#include "python/model.h"
#include "python/names.h"
#include "python/reading.h"
#include "view/view_page.h"

PYBIND11_MODULE(logfsm, m) {
  using namespace logfsm::python;
  m.doc() =
      "Learn finite-state machines from event logs, check logs against them and\n"
      "read logs in every format logfsm reads, with the command line's bytes.";

  model_error = PyErr_NewExceptionWithDoc(
      "logfsm.ModelError", "A model file that is not a machine written by logfsm.",
      PyExc_ValueError, nullptr);
  if (model_error == nullptr) throw py::error_already_set();
  m.add_object("ModelError", py::handle(model_error));

  py::class_<rejection>(m, "Rejection", "A trace that the model rejects.")
      .def_readonly("index", &rejection::index,
                    "The trace's index in the traces checked.")
      .def_readonly("position", &rejection::position,
                    "The 1-based position of the event not allowed; for a non-accepting "
                    "end, the number of events.")
      .def_readonly("reason", &rejection::reason,
                    "'event not allowed' or 'non-accepting end'.")
      .def_readonly("event", &rejection::event,
                    "The event not allowed; None for a non-accepting end.")
      .def_readonly("allowed", &rejection::allowed,
                    "The events the model allows there, in name order.")
      .def("__repr__", [](const rejection& r) {
        return "<logfsm.Rejection index=" + std::to_string(r.index) +
               " position=" + std::to_string(r.position) + " " + r.reason + ">";
      });

  py::class_<check_report>(m, "CheckReport", "What Model.check found.")
      .def_readonly("total", &check_report::total, "The number of traces checked.")
      .def_readonly("accepted", &check_report::accepted, "The number of traces accepted.")
      .def_readonly("rejected", &check_report::rejected,
                    "A Rejection per rejected trace, in trace order.")
      .def("__repr__", [](const check_report& r) {
        return "<logfsm.CheckReport accepted " + std::to_string(r.accepted) + " of " +
               std::to_string(r.total) + ">";
      });

  py::class_<model>(m, "Model",
                    "A machine learned by logfsm.learn or read by Model.load.")
      .def_static("load", &model::load, py::arg("path"),
                  "Reads a model file that logfsm wrote (the JSON file), strictly, as "
                  "`logfsm check` reads it.")
      .def("dot", &model::dot, "The DOT file's bytes, as the command line writes them.")
      .def("json", &model::json,
           "The JSON file's bytes, as the command line writes them.")
      .def("save", &model::save, py::arg("stem"),
           "Writes STEM_out_K.dot and STEM_out_K.json, each completely or not at all; "
           "returns their names.")
      .def_property_readonly("k", &model::k,
                             "k of a learned model; None for a loaded one.")
      .def_property_readonly(
          "states", &model::states,
          "Every state's text, e.g. 'pay(3)', in the JSON file's order.")
      .def_property_readonly(
          "transitions", &model::transitions,
          "Every transition as (from, to, track), in the JSON file's order.")
      .def_property_readonly("accepting", &model::accepting,
                             "The accepting states' texts.")
      .def_property_readonly(
          "initial", &model::initial,
          "The initial states' texts: ('s0(-1)',) in every file logfsm "
          "writes.")
      .def("check", &model::check_traces, py::arg("traces"),
           "Replays every trace on the model as `logfsm check` does.")
      .def("view", &model::view, py::arg("traces"), py::arg("path"),
           py::arg("examples") = logfsm::kDefaultExamples,
           "Writes the HTML view of the model with the traces' usage to PATH.")
      .def("__repr__", &model::repr);

  m.def("learn", &model::learn, py::arg("traces"), py::arg("k"),
        py::arg("progress") = py::none(),
        "Learns the machine of TRACES (an iterable of sequences of str or bytes) with "
        "window length K (2 or more). PROGRESS, when given, is called as "
        "progress(done, total) with the traces integrated so far, at most about 20 "
        "times a second and after the last trace. The learning runs with the "
        "interpreter's lock released.");
  m.def(
      "traces_from_dataframe", &traces_from_dataframe, py::arg("df"),
      py::arg("case") = py::none(), py::arg("activity") = py::none(),
      py::arg("timestamp") = py::none(), py::kw_only(),
      py::arg("timestamp_format") = py::none(), py::arg("no_sort") = false,
      "The traces of a pandas DataFrame of events, one row an event, with the CSV "
      "reader's rules: CASE, ACTIVITY (a name or a list of names, joined with '+') and "
      "TIMESTAMP name columns (by default the usual names, e.g. case:concept:name, "
      "concept:name, time:timestamp); cases in order of their first row, each sorted "
      "stably by time when every timestamp of it parses (datetimes, or text in ISO 8601 "
      "or TIMESTAMP_FORMAT), else kept in row order with a warning; rows without a "
      "case are left out with a warning. Needs pandas.");
  m.def(
      "evaluate", &evaluate_traces, py::arg("traces"), py::arg("ks"),
      py::arg("folds") = logfsm::kDefaultFolds, py::arg("negatives") = py::none(),
      py::arg("jobs") = py::none(),
      "k-fold evaluation as `logfsm eval`: for every k of KS (whole numbers, or a list "
      "such as '2-5') the model of each fold is learned from the other traces and the "
      "fold's traces are replayed on it; fold f holds the traces whose position i has "
      "i mod FOLDS == f. NEGATIVES, traces that should be rejected, are replayed on the "
      "model of all traces. Runs on JOBS threads (default: the number of cores) with the "
      "interpreter's lock released; the figures do not depend on it. Returns one dict "
      "per k with the keys of `logfsm eval --json` rows.");
  m.def("read_log", &read_log, py::arg("path"),
        "read_log(path, **options) -> list[list[str]]\n\n"
        "Reads the log PATH in its format (from the name or input_format; a name of no "
        "known format is read as a text log) with the command line's reading options as "
        "keywords: input_format, classifier, lifecycle, sort_by_time, delimiter, "
        "case_column, activity_column, timestamp_column, timestamp_format, no_sort, "
        "regex, separator, skip. The reader's notes are issued as warnings.");
}
