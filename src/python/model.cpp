#include "python/model.h"

#include <chrono>
#include <exception>
#include <utility>

#include "checking/check_report.h"
#include "frontend/model_input.h"
#include "frontend/parameter.h"
#include "learning/pipeline.h"
#include "output/state_text.h"
#include "output/file_output.h"
#include "output/outputs.h"
#include "view/view_page.h"

namespace logfsm::python {
namespace {

// k read as the command line reads it, with its messages.
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

// `result` for Python: each rejected trace by its 0-based index among the
// traces checked (the report's line less one), names as str.
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

model::model(machine m, std::int32_t k)
    : learned_(std::move(m)), k_(k), shape_(shape_of(*learned_)) {
  replay_ = compile_model(shape_);
  title_ = "learned at k = " + std::to_string(k);
}

model::model(machine_shape shape, const std::string& path) : shape_(std::move(shape)) {
  replay_ = compile_model(shape_);
  title_ = std::filesystem::path(path).filename().string();
}

model model::learn(py::handle traces, const py::int_& k, const py::object& progress) {
  const std::int32_t value = parameter(k);
  event_log log = traces_to_log(traces);
  std::exception_ptr raised;
  machine learned;
  status outcome;
  try {
    py::gil_scoped_release unlocked;
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
    outcome = learn_log(std::move(log), value, sink, learned);
  } catch (const learning_stopped&) {
    std::rethrow_exception(raised);
  }
  check(outcome);
  return model(std::move(learned), value);
}

model model::load(const std::filesystem::path& path) {
  machine_shape shape;
  check(load_model(path.string(), shape));
  return model(std::move(shape), path.string());
}

const machine& model::learned() const {
  if (!learned_) {
    raise(
        status(status_code::bad_argument,
               "a model read from a file has no output files; learn one to write them"));
  }
  return *learned_;
}

py::bytes model::dot() const {
  return py::bytes(output_text(learned(), output_kind::dot));
}

py::bytes model::json() const {
  return py::bytes(output_text(learned(), output_kind::json));
}

py::tuple model::save(const std::filesystem::path& stem) const {
  py::list names;
  for (const output_file& file : write_outputs(learned(), stem.string(), k_)) {
    check(file.written);
    names.append(file.name);
  }
  return py::tuple(names);
}

py::object model::k() const { return learned_ ? py::object(py::int_(k_)) : py::none(); }

py::object model::state_text_of(std::uint32_t number) const {
  const shape_state& s = shape_.states[number];
  return decoded(state_text(s.name, s.id));
}

py::tuple model::states() const {
  py::list list;
  for (std::uint32_t n = 0; n < shape_.states.size(); ++n) list.append(state_text_of(n));
  return py::tuple(list);
}

py::tuple model::transitions() const {
  py::list list;
  for (const shape_transition& t : shape_.transitions) {
    list.append(
        py::make_tuple(state_text_of(t.from), state_text_of(t.to), decoded(shape_.track(t))));
  }
  return py::tuple(list);
}

py::tuple model::states_of(const std::vector<std::uint32_t>& numbers) const {
  py::list list;
  for (const std::uint32_t n : numbers) list.append(state_text_of(n));
  return py::tuple(list);
}

py::tuple model::accepting() const { return states_of(shape_.accepting); }

py::tuple model::initial() const { return states_of(shape_.initial); }

check_report model::check_traces(py::handle traces) const {
  const event_log log = traces_to_log(traces);
  check_result result;
  {
    py::gil_scoped_release unlocked;
    result = check_log(replay_, log);
  }
  return report_of(result);
}

void model::view(py::handle traces, const std::filesystem::path& path,
                 std::size_t examples) const {
  const view_assets* assets = embedded_view_assets();
  if (assets == nullptr)
    raise(status(status_code::bad_argument, "this build writes no HTML view"));
  const event_log log = traces_to_log(traces);
  status written;
  {
    py::gil_scoped_release unlocked;
    written = write_file_atomically(
        path.string(), make_view_page(*assets, title_, "traces", shape_, log, examples));
  }
  check(written);
}

std::string model::repr() const {
  return "<logfsm.Model" + (learned_ ? " k=" + std::to_string(k_) : std::string()) +
         ": " + std::to_string(shape_.states.size()) + " states, " +
         std::to_string(shape_.transitions.size()) + " transitions>";
}

}  // namespace logfsm::python
