#include "readers/event_table.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "readers/shown_text.h"
#include "readers/timestamp.h"

namespace logfsm {
namespace {

using header_names = std::span<const std::string_view>;

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_name(std::string_view a, std::string_view b) {
  a = trimmed(a);
  b = trimmed(b);
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return lower(x) == lower(y); });
}

// "a, b, c", at most 20 names, an empty name as "".
std::string header_list(header_names header) {
  constexpr std::size_t kMostNames = 20;
  std::string list;
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (i > 0) list += ", ";
    if (i == kMostNames) {
      list += "...";
      break;
    }
    const std::string_view name = trimmed(header[i]);
    list += name.empty() ? "\"\"" : shown(name);
  }
  return list;
}

std::optional<std::size_t> column_named(header_names header, std::string_view name) {
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (same_name(header[i], name)) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> first_column(header_names header,
                                        std::initializer_list<std::string_view> names) {
  for (const std::string_view name : names) {
    if (const auto column = column_named(header, name)) return column;
  }
  return std::nullopt;
}

status no_column(header_names header, std::string_view name, const table_words& words) {
  return status(status_code::bad_log, "no column \"" + shown(name) + "\" " +
                                          std::string(words.header) + ": " +
                                          header_list(header));
}

std::string_view field_at(std::span<const std::string_view> fields, std::size_t i) {
  return i < fields.size() ? fields[i] : std::string_view();
}

}  // namespace

status choose_columns(header_names header, std::size_t line, const read_options& options,
                      const table_words& words, table_columns& chosen) {
  const auto missing = [&](std::string_view what, std::string_view option) {
    return status(status_code::bad_log,
                  (line > 0 ? "line " + std::to_string(line) + ": " : std::string()) +
                      "no " + std::string(what) + " column " + std::string(words.header) +
                      ": " + header_list(header) + " (name one with " +
                      std::string(option) + ")");
  };
  const std::optional<std::size_t> case_column =
      options.case_column.empty() ? first_column(header, {"case:concept:name", "case_id",
                                                          "case id", "caseid", "case"})
                                  : column_named(header, options.case_column);
  if (!case_column && !options.case_column.empty())
    return no_column(header, options.case_column, words);
  if (!case_column) return missing("case", words.case_option);
  chosen.case_column = *case_column;

  for (const std::string& name : options.activity_columns) {
    const auto column = column_named(header, name);
    if (!column) return no_column(header, name, words);
    chosen.activity.push_back(*column);
  }
  if (options.activity_columns.empty()) {
    const auto column =
        first_column(header, {"concept:name", "activity", "activity_name", "event"});
    if (!column) return missing("activity", words.activity_option);
    chosen.activity.push_back(*column);
  }

  if (!options.timestamp_column.empty()) {
    chosen.timestamp = column_named(header, options.timestamp_column);
    if (!chosen.timestamp) return no_column(header, options.timestamp_column, words);
  } else {
    chosen.timestamp = first_column(
        header, {"time:timestamp", "timestamp", "complete timestamp", "time"});
  }
  return status();
}

event_table::event_table(const table_columns& chosen, const read_options& options,
                         const table_words& words)
    : chosen_(chosen),
      options_(options),
      words_(words),
      sort_(!options.no_sort && chosen.timestamp.has_value()) {}

bool event_table::uses(std::size_t column) const {
  return column == chosen_.case_column || column == chosen_.timestamp ||
         std::find(chosen_.activity.begin(), chosen_.activity.end(), column) !=
             chosen_.activity.end();
}

std::size_t event_table::fields_used() const {
  std::size_t last = std::max(chosen_.case_column, chosen_.timestamp.value_or(0));
  for (const std::size_t c : chosen_.activity) last = std::max(last, c);
  return last + 1;
}

void event_table::add(std::span<const std::string_view> fields, std::size_t place) {
  const std::string_view case_value = field_at(fields, chosen_.case_column);
  if (case_value.empty()) {
    if (without_case_++ == 0) first_without_case_ = place;
    return;
  }
  const std::uint32_t case_number = cases_.number(case_value);
  if (case_number == file_order_.size()) file_order_.push_back(false);
  std::optional<instant> time;
  if (chosen_.timestamp) {
    const std::string_view text = field_at(fields, *chosen_.timestamp);
    time = parse_timestamp(text, options_.timestamp_format);
    if (!time && sort_ && !file_order_[case_number]) {
      file_order_[case_number] = true;
      file_order_count_.add([&] {
        return std::string(words_.row) + " " + std::to_string(place) + ", \"" +
               shown(text) + "\"";
      });
    }
  }
  entries_.emplace_back(time, names_.number(name_of(fields)));
  case_of_.push_back(case_number);
}

// The activity, or the activities joined with "+".
std::string_view event_table::name_of(std::span<const std::string_view> fields) {
  const std::string_view first = field_at(fields, chosen_.activity[0]);
  if (chosen_.activity.size() == 1) return first;
  joined_.assign(first);
  for (std::size_t i = 1; i < chosen_.activity.size(); ++i) {
    joined_.append("+").append(field_at(fields, chosen_.activity[i]));
  }
  return joined_;
}

void event_table::write(event_log& log, read_notes& notes) {
  // The events grouped by case, stably (a counting sort).
  std::vector<std::uint32_t> ends(cases_.size() + 1, 0);
  for (const std::uint32_t c : case_of_) ++ends[c + 1];
  for (std::size_t c = 1; c < ends.size(); ++c) ends[c] += ends[c - 1];
  std::vector<std::uint32_t> order(entries_.size());
  for (std::size_t i = 0; i < case_of_.size(); ++i) {
    order[ends[case_of_[i]]++] = static_cast<std::uint32_t>(i);
  }
  std::vector<std::uint32_t>().swap(case_of_);
  // Now case c's events are order[ends[c - 1], ends[c]) (from 0 for c = 0).
  for (std::size_t c = 0; c < cases_.size(); ++c) {
    const std::size_t first = c == 0 ? 0 : ends[c - 1];
    const std::span<std::uint32_t> events(order.data() + first, ends[c] - first);
    if (sort_ && !file_order_[c]) sort_by_time(events, entries_);
    for (const std::uint32_t e : events) {
      log.add_event(names_[entries_[e].name], entries_[e].log_time());
    }
    log.end_line(cases_[static_cast<std::uint32_t>(c)]);
  }
  if (without_case_ > 0) {
    notes.push_back(std::to_string(without_case_) +
                    (without_case_ == 1 ? " row without a case left out ("
                                        : " rows without a case left out (first: ") +
                    std::string(words_.row) + " " + std::to_string(first_without_case_) +
                    ")");
  }
  file_order_count_.note("case", notes);
}

status read_event_table(const std::vector<std::string>& header, std::size_t rows,
                        const table_cell& cell, const read_options& options,
                        const table_words& words, event_log& log, read_notes& notes) {
  const std::vector<std::string_view> names(header.begin(), header.end());
  table_columns chosen;
  if (status s = choose_columns(names, 0, options, words, chosen); !s.ok()) return s;
  event_table table(chosen, options, words);
  std::vector<std::string_view> fields(table.fields_used());
  std::vector<std::string> cells(fields.size());
  for (std::size_t row = 0; row < rows; ++row) {
    for (std::size_t c = 0; c < fields.size(); ++c) {
      if (!table.uses(c)) continue;
      cells[c] = cell(row, c);
      fields[c] = cells[c];
    }
    table.add(fields, row);
  }
  table.write(log, notes);
  return status();
}

}  // namespace logfsm
