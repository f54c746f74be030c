// The Python module `logfsm`: learning, checking, viewing and reading logs
// from Python, through the same library calls as the command line, so every
// file and report has the command line's bytes.
//
// Event names cross the boundary as bytes: a str is taken as UTF-8 and a
// bytes object byte for byte; names handed back are str, decoded from UTF-8
// with "surrogateescape", so a name that is not UTF-8 comes back as a str
// that encodes to the same bytes again. Failures raise the command line's
// one-line message: ValueError for an argument or a log that cannot be used,
// OSError for a file that cannot be opened, read or written, ModelError (a
// ValueError) for a model file that is not a machine written by logfsm.
#include <pybind11/pybind11.h>
#include <pybind11/stl/filesystem.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "base/status.h"
#include "checking/check_report.h"
#include "checking/model_file.h"
#include "checking/replay.h"
#include "evaluation/evaluation.h"
#include "frontend/command_line.h"
#include "frontend/model_input.h"
#include "frontend/parameter.h"
#include "frontend/reading_options.h"
#include "learning/pipeline.h"
#include "model/event_log.h"
#include "model/fsm_builder.h"
#include "model/machine.h"
#include "output/file_output.h"
#include "output/outputs.h"
#include "readers/csv_log.h"
#include "view/view_page.h"

namespace py = pybind11;

namespace logfsm {
namespace {

PyObject* model_error = nullptr;  // logfsm.ModelError, made at import

// Raises the Python exception for the failure `s`.
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

// ---- Names ----

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

// The bytes of one event name; `where` places it in a message.
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

// Every trace of `traces` (an iterable of sequences of names) as a line of
// a log, empty traces included.
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

// Each of a reader's notes as a Python warning.
void warn_notes(const std::string& notes) {
  std::istringstream lines(notes);
  for (std::string line; std::getline(lines, line);) {
    if (PyErr_WarnEx(PyExc_UserWarning, line.c_str(), 1) != 0)
      throw py::error_already_set();
  }
}

// ---- Reading ----

// The reading options given as keywords, read as the command line reads
// them: `input_format="csv"` is `--input-format=csv`, True is a flag, and a
// list is the comma list of the option (repeated options for regex and
// skip).
read_options reading_options(const py::kwargs& given) {
  std::set<std::string> known;
  for (const option_spec& spec : with_reading_options({})) known.insert(spec.name);
  std::vector<std::string> args;
  for (const auto& [key, value] : given) {
    std::string name = py::str(key);
    for (char& c : name) c = c == '_' ? '-' : c;
    if (!known.contains(name)) {
      throw py::type_error("unknown reading option: " + std::string(py::str(key)));
    }
    const std::string option = "--" + name;
    if (PyBool_Check(value.ptr())) {
      if (value.ptr() == Py_True) args.push_back(option);
      continue;
    }
    if (value.is_none()) continue;
    std::vector<std::string> items;
    if (py::isinstance<py::list>(value) || py::isinstance<py::tuple>(value)) {
      for (py::handle item : value) items.push_back(py::str(item));
    } else {
      items.push_back(py::str(value));
    }
    if (name == "regex" || name == "skip") {
      for (const std::string& item : items) args.push_back(option + "=" + item);
    } else {
      std::string list;
      for (const std::string& item : items) list += (list.empty() ? "" : ",") + item;
      args.push_back(option + "=" + list);
    }
  }
  parsed_command_line line;
  check(parse_command_line(args, with_reading_options({}), line));
  read_options options;
  check(reading_options_from(line, options));
  return options;
}

py::list read_log(const std::filesystem::path& path, const py::kwargs& given) {
  const read_options options = reading_options(given);
  event_log log;
  std::ostringstream notes;
  const status read = load_log(path.string(), options, log, notes, "");
  warn_notes(notes.str());
  check(read);
  return log_to_traces(log);
}

// The text of a data frame's cell: missing values (None, NaN, NaT) are
// empty, str and bytes as names are, times by their isoformat(), anything
// else by str().
std::string cell_text(py::handle value, bool missing) {
  if (missing) return {};
  if (PyUnicode_Check(value.ptr()) || PyBytes_Check(value.ptr()))
    return name_bytes(value, "");
  if (py::hasattr(value, "isoformat")) return name_bytes(value.attr("isoformat")(), "");
  return name_bytes(py::str(value), "");
}

py::list traces_from_dataframe(const py::object& frame, const py::object& case_column,
                               const py::object& activity, const py::object& timestamp,
                               const py::object& timestamp_format, bool no_sort) {
  try {
    py::module_::import("pandas");
  } catch (const py::error_already_set& e) {
    if (!e.matches(PyExc_ImportError)) throw;
    throw py::import_error(
        "traces_from_dataframe needs pandas, which is not installed "
        "(Debian: apt-get install python3-pandas)");
  }
  read_options options;
  options.no_sort = no_sort;
  if (!case_column.is_none()) options.case_column = py::str(case_column);
  if (py::isinstance<py::str>(activity)) {
    options.activity_columns = {py::str(activity)};
  } else if (!activity.is_none()) {
    for (py::handle name : activity) options.activity_columns.push_back(py::str(name));
  }
  if (!timestamp.is_none()) options.timestamp_column = py::str(timestamp);
  if (!timestamp_format.is_none()) options.timestamp_format = py::str(timestamp_format);

  std::vector<std::string> header;
  for (py::handle name : frame.attr("columns")) header.push_back(py::str(name));
  // Each chosen column's values and missing flags, fetched when first asked.
  std::vector<std::optional<std::pair<py::list, py::list>>> columns(header.size());
  const auto cell = [&](std::size_t row, std::size_t c) {
    if (!columns[c]) {
      const py::object series =
          frame.attr("iloc")[py::make_tuple(py::slice(0, py::len(frame), 1), c)];
      columns[c].emplace(series.attr("tolist")(), series.attr("isna")().attr("tolist")());
    }
    const auto& [values, missing] = *columns[c];
    return cell_text(values[row], py::cast<bool>(missing[row]));
  };
  event_log log;
  read_notes notes;
  check(read_event_table(header, py::len(frame), cell, options, log, notes));
  std::string lines;
  for (const std::string& note : notes) lines += note + "\n";
  warn_notes(lines);
  return log_to_traces(log);
}

// ---- Learning ----

std::int32_t parameter(const py::int_& k) {
  std::int32_t value = 0;
  check(read_k(std::string(py::str(py::handle(k))), value));
  return value;
}

// Thrown through the learning when the progress callback raised (or an
// interrupt arrived); model::learn keeps the Python exception and raises it
// once the lock is held again.
struct learning_stopped {};

// How often the learning takes the interpreter's lock back, at most: to
// call the progress callback and to notice Ctrl-C.
constexpr std::chrono::milliseconds kProgressInterval{50};

class model {
 public:
  // A machine learned with k.
  model(machine m, std::int32_t k) : learned_(std::move(m)), k_(k) {
    json_ = output_text(*learned_, output_kind::json);
    (void)read_model(json_, shape_);  // the writer's text always reads back
    replay_ = compile_model(shape_);
    title_ = "learned at k = " + std::to_string(k);
  }
  // A machine read from a model file.
  model(model_file shape, const std::string& path) : shape_(std::move(shape)) {
    replay_ = compile_model(shape_);
    title_ = std::filesystem::path(path).filename().string();
  }

  static model learn(py::handle traces, const py::int_& k, const py::object& progress) {
    const std::int32_t value = parameter(k);
    event_log log = traces_to_log(traces);
    if (log.line_count() == 0 || log.event_count() == 0) {
      raise(status(status_code::empty_log, "Log is empty or the format is incorrect."));
    }
    std::exception_ptr raised;
    std::optional<machine> learned;
    try {
      py::gil_scoped_release unlocked;
      fsm_builder builder(log, value);
      log = event_log();  // the builder holds the traces now
      auto last = std::chrono::steady_clock::now();
      progress_sink sink;
      sink.trace_done = [&](std::size_t done, std::size_t total) {
        const auto now = std::chrono::steady_clock::now();
        if (done != total && now - last < kProgressInterval) return;
        last = now;
        py::gil_scoped_acquire locked;
        try {
          if (PyErr_CheckSignals() != 0) throw py::error_already_set();
          if (!progress.is_none()) progress(done, total);
        } catch (...) {
          raised = std::current_exception();
          throw learning_stopped{};
        }
      };
      logfsm::learn(builder, sink);
      learned.emplace(std::move(builder.transitions));
    } catch (const learning_stopped&) {
      std::rethrow_exception(raised);
    }
    return model(std::move(*learned), value);
  }

  static model load(const std::filesystem::path& path) {
    model_file shape;
    check(load_model(path.string(), shape));
    return model(std::move(shape), path.string());
  }

  const machine& learned() const {
    if (!learned_) {
      raise(status(
          status_code::bad_argument,
          "a model read from a file has no output files; learn one to write them"));
    }
    return *learned_;
  }

  py::bytes dot() const { return py::bytes(output_text(learned(), output_kind::dot)); }
  py::bytes json() const {
    (void)learned();
    return py::bytes(json_);
  }

  py::tuple save(const std::filesystem::path& stem) const {
    py::list names;
    for (const output_file& file : write_outputs(learned(), stem.string(), k_)) {
      check(file.written);
      names.append(file.name);
    }
    return py::tuple(names);
  }

  py::object k() const { return learned_ ? py::object(py::int_(k_)) : py::none(); }
  py::tuple states() const { return py::tuple(decoded_list(shape_.states)); }
  py::tuple transitions() const {
    py::list list;
    for (const model_transition& t : shape_.transitions) {
      list.append(py::make_tuple(decoded(shape_.states[t.from]),
                                 decoded(shape_.states[t.to]), decoded(t.track)));
    }
    return py::tuple(list);
  }
  py::tuple states_of(const std::vector<std::uint32_t>& numbers) const {
    py::list list;
    for (const std::uint32_t n : numbers) list.append(decoded(shape_.states[n]));
    return py::tuple(list);
  }
  py::tuple accepting() const { return states_of(shape_.accepting); }
  py::tuple initial() const { return states_of(shape_.initial); }

  check_result check_traces(py::handle traces) const {
    const event_log log = traces_to_log(traces);
    py::gil_scoped_release unlocked;
    return check_log(replay_, log);
  }

  void view(py::handle traces, const std::filesystem::path& path,
            std::size_t examples) const {
    const view_assets* assets = embedded_view_assets();
    if (assets == nullptr)
      raise(status(status_code::bad_argument, "this build writes no HTML view"));
    const event_log log = traces_to_log(traces);
    status written;
    {
      py::gil_scoped_release unlocked;
      written = write_file_atomically(
          path.string(),
          make_view_page(*assets, title_, "traces", shape_, log, examples));
    }
    check(written);
  }

  std::string repr() const {
    return "<logfsm.Model" + (learned_ ? " k=" + std::to_string(k_) : std::string()) +
           ": " + std::to_string(shape_.states.size()) + " states, " +
           std::to_string(shape_.transitions.size()) + " transitions>";
  }

 private:
  std::optional<machine> learned_;
  std::int32_t k_ = 0;
  std::string json_;
  model_file shape_;
  replay_machine replay_;
  std::string title_;  // the view's title
};

// ---- Evaluation ----

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

// The rows of `logfsm eval --json` for the traces: the report is made by the
// same calls and read back from its JSON text, so the keys and the figures
// are the command line's.
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

// ---- Check reports ----

struct rejection {
  std::size_t index;  // 0-based, in the order of the traces given
  std::size_t position;
  std::string reason;
  py::object event;  // None for a non-accepting end
  py::list allowed;
};

struct check_report {
  std::size_t total = 0;
  std::size_t accepted = 0;
  py::list rejected;
};

check_report report_of(const check_result& result) {
  check_report report;
  report.total = result.traces;
  report.accepted = result.traces - result.rejected.size();
  for (const rejected_trace& r : result.rejected) {
    const bool at_end = r.reason == rejection_reason::non_accepting_end;
    report.rejected.append(rejection{
        r.line - 1, r.position, std::string(reason_text(r.reason)),
        at_end ? py::object(py::none()) : decoded(r.event), decoded_list(r.allowed)});
  }
  return report;
}

}  // namespace
}  // namespace logfsm

PYBIND11_MODULE(logfsm, m) {
  using namespace logfsm;
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
      .def(
          "check",
          [](const model& self, py::handle traces) {
            return report_of(self.check_traces(traces));
          },
          py::arg("traces"), "Replays every trace on the model as `logfsm check` does.")
      .def("view", &model::view, py::arg("traces"), py::arg("path"),
           py::arg("examples") = kDefaultExamples,
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
      py::arg("folds") = kDefaultFolds, py::arg("negatives") = py::none(),
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
