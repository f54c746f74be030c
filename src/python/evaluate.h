// logfsm.evaluate: k-fold evaluation of traces, as `logfsm eval` makes it.
#ifndef LOGFSM_PYTHON_EVALUATE_H_
#define LOGFSM_PYTHON_EVALUATE_H_

#include "python/names.h"

namespace logfsm::python {

// The rows of `logfsm eval --json` for the traces: `ks` whole numbers or a
// list text ("2-5"), `folds` from 2 to 1000000, `negatives` traces or None,
// `jobs` threads from 1 to 1024 or None for one per core. The report is made
// by the library's calls, with the lock released, and read back from its
// JSON text, so the keys and the figures are the command line's. A
// ValueError with eval's message for a bad k, too few traces or traces
// outside a fold without an event.
py::list evaluate_traces(py::handle traces, py::handle ks, py::handle folds,
                         const py::object& negatives, const py::object& jobs);

}  // namespace logfsm::python

#endif  // LOGFSM_PYTHON_EVALUATE_H_
