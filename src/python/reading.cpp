#include "python/reading.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "frontend/model_input.h"
#include "readers/event_table.h"
#include "readers/read_options.h"

namespace logfsm::python {
namespace {

// A keyword's value as text: a str as it is (anything else by str()), a
// list or tuple as the comma list of its items.
std::string text_of(py::handle value) {
  if (!py::isinstance<py::list>(value) && !py::isinstance<py::tuple>(value)) {
    return py::str(value);
  }
  std::string list;
  for (py::handle item : value)
    list += (list.empty() ? "" : ",") + std::string(py::str(item));
  return list;
}

// The values of a repeatable keyword (regex, skip): one str, or each item.
std::vector<std::string> each_of(py::handle value) {
  if (!py::isinstance<py::list>(value) && !py::isinstance<py::tuple>(value)) {
    return {py::str(value)};
  }
  std::vector<std::string> items;
  for (py::handle item : value) items.push_back(py::str(item));
  return items;
}

struct reading_keyword {
  const char* name;  // as read_options names the field
  bool flag;         // takes True or False; the others take a str or a list
  void (*fill)(read_options& options, py::handle value);
};

// Each keyword as the command line's option of that name reads its value:
// names split at commas, patterns one each.
const reading_keyword kReadingKeywords[] = {
    {"input_format", false,
     [](read_options& o, py::handle v) { o.input_format = text_of(v); }},
    {"classifier", false,
     [](read_options& o, py::handle v) { o.classifier = split_list(text_of(v)); }},
    {"lifecycle", false,
     [](read_options& o, py::handle v) { o.lifecycle = split_list(text_of(v)); }},
    {"sort_by_time", true,
     [](read_options& o, py::handle v) { o.sort_by_time = v.ptr() == Py_True; }},
    {"delimiter", false,
     [](read_options& o, py::handle v) {
       check(read_delimiter(text_of(v), o.delimiter));
     }},
    {"case_column", false,
     [](read_options& o, py::handle v) { o.case_column = text_of(v); }},
    {"activity_column", false,
     [](read_options& o, py::handle v) { o.activity_columns = split_list(text_of(v)); }},
    {"timestamp_column", false,
     [](read_options& o, py::handle v) { o.timestamp_column = text_of(v); }},
    {"timestamp_format", false,
     [](read_options& o, py::handle v) { o.timestamp_format = text_of(v); }},
    {"no_sort", true,
     [](read_options& o, py::handle v) { o.no_sort = v.ptr() == Py_True; }},
    {"regex", false, [](read_options& o, py::handle v) { o.regex = each_of(v); }},
    {"separator", false, [](read_options& o, py::handle v) { o.separator = text_of(v); }},
    {"skip", false, [](read_options& o, py::handle v) { o.skip = each_of(v); }},
};

// The reading options given as keywords (None for a keyword not given),
// checked as the command line's are.
read_options reading_options(const py::kwargs& given) {
  read_options options;
  for (const auto& [key, value] : given) {
    const std::string name = py::str(key);
    const auto known =
        std::find_if(std::begin(kReadingKeywords), std::end(kReadingKeywords),
                     [&name](const reading_keyword& k) { return name == k.name; });
    if (known == std::end(kReadingKeywords)) {
      throw py::type_error("unknown reading option: " + name);
    }
    if (value.is_none()) continue;
    if (known->flag != (PyBool_Check(value.ptr()) != 0)) {
      throw py::type_error(
          "reading option " + name +
          (known->flag ? " takes True or False" : " takes a str or a list"));
    }
    known->fill(options, value);
  }
  check(check_read_options(options));
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
