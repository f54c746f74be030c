// Reading logs from Python: files with the command line's reading options,
// and pandas DataFrames with the CSV reader's rules.
#ifndef LOGFSM_PYTHON_READING_H_
#define LOGFSM_PYTHON_READING_H_

#include <filesystem>

#include "python/names.h"

namespace logfsm::python {

// The traces of the log `path`, read in its format (a name of no known
// format is read as a `;` text log, as `check` reads it) with the reading
// options given as keywords, spelled as on the command line with "_" for
// "-": `input_format="csv"` is `--input-format=csv`, True a flag, a list the
// comma list of the option (repeated options for regex and skip). The
// reader's notes become warnings. A TypeError for an unknown keyword, for
// True or False given to a keyword that is no flag, or for anything else
// given to a flag; the command line's failures otherwise.
py::list read_log(const std::filesystem::path& path, const py::kwargs& given);

// The traces of the DataFrame `frame` as read_event_table reads a table
// (readers/event_table.h): `case_column`, `activity` (a name or a list of names)
// and `timestamp` name columns, None for the usual names. Missing cells
// (None, NaN, NaT) are empty, str and bytes cells are names as they are,
// times are read from their isoformat(), other values from str(). An
// ImportError when pandas cannot be imported.
py::list traces_from_dataframe(const py::object& frame, const py::object& case_column,
                               const py::object& activity, const py::object& timestamp,
                               const py::object& timestamp_format, bool no_sort);

}  // namespace logfsm::python

#endif  // LOGFSM_PYTHON_READING_H_
