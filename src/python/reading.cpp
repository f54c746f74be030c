#include "python/reading.h"

#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "frontend/command_line.h"
#include "frontend/model_input.h"
#include "frontend/reading_options.h"
#include "readers/event_table.h"

namespace logfsm::python {
namespace {

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

}  // namespace

py::list read_log(const std::filesystem::path& path, const py::kwargs& given) {
  const read_options options = reading_options(given);
  event_log log;
  std::ostringstream notes;
  const status read = load_log(path.string(), options, log, notes, "");
  warn_notes(notes.str());
  check(read);
  return log_to_traces(log);
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
  // Messages and notes name a frame's rows by their 0-based numbers and its
  // columns by this function's keywords.
  constexpr table_words kFrameWords = {"row", "among the columns", "case=", "activity="};
  event_log log;
  read_notes notes;
  check(read_event_table(header, py::len(frame), cell, options, kFrameWords, log, notes));
  std::string lines;
  for (const std::string& note : notes) lines += note + "\n";
  warn_notes(lines);
  return log_to_traces(log);
}

}  // namespace logfsm::python
