// logfsm.Model: a machine learned from traces or read from a model file,
// with its files, its shape, and checks and views of traces on it.
#ifndef LOGFSM_PYTHON_MODEL_H_
#define LOGFSM_PYTHON_MODEL_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "checking/replay.h"
#include "model/machine.h"
#include "model/machine_shape.h"
#include "python/names.h"

namespace logfsm::python {

// A rejected trace as Model.check reports it.
struct rejection {
  std::size_t index;  // 0-based, in the order of the traces given
  std::size_t position;
  std::string reason;  // as `check --json` words it
  py::object event;    // None for a non-accepting end
  py::list allowed;
};

struct check_report {
  std::size_t total = 0;
  std::size_t accepted = 0;
  py::list rejected;
};

class model {
 public:
  // Learns the machine of `traces` with k, as the command line learns a log
  // of those lines, with the interpreter's lock released. `progress`, unless
  // None, is called as progress(done, total) at most every
  // kProgressInterval and after the last trace; an exception it raises (or
  // Ctrl-C) ends the learning and is raised here. A ValueError with the
  // command line's message for a k that is not 2 or more and for traces
  // without an event.
  static model learn(py::handle traces, const py::int_& k, const py::object& progress);
  // Reads a model file with `check`'s strict reader: an OSError when it
  // cannot be read, a ModelError when it is not a machine logfsm wrote.
  static model load(const std::filesystem::path& path);

  // The files' bytes, and writing them as <stem>_out_<k>.dot and .json
  // (each completely or not at all). A ValueError for a loaded model.
  py::bytes dot() const;
  py::bytes json() const;
  py::tuple save(const std::filesystem::path& stem) const;

  // k, or None for a loaded model.
  py::object k() const;
  // The states' texts and the transitions as (from, to, track), in the
  // order of the JSON file.
  py::tuple states() const;
  py::tuple transitions() const;
  py::tuple accepting() const;
  py::tuple initial() const;

  // Replays every trace as `check` does, with the lock released.
  check_report check_traces(py::handle traces) const;
  // Writes the HTML view with the traces' usage to `path`. A ValueError
  // when the build writes no view, an OSError when the file cannot be
  // written.
  void view(py::handle traces, const std::filesystem::path& path,
            std::size_t examples) const;

  std::string repr() const;

 private:
  model(machine m, std::int32_t k);
  model(machine_shape shape, const std::string& path);

  const machine& learned() const;
  py::tuple states_of(const std::vector<std::uint32_t>& numbers) const;
  // The state's text "NAME(ID)", as the model file writes it.
  py::object state_text_of(std::uint32_t number) const;

  std::optional<machine> learned_;  // none for a loaded model
  std::int32_t k_ = 0;
  machine_shape shape_;
  replay_machine replay_;
  std::string title_;  // the view's title
};

}  // namespace logfsm::python

#endif  // LOGFSM_PYTHON_MODEL_H_
