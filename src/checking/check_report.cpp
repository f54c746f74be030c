#include "checking/check_report.h"

#include "output/state_text.h"

namespace logfsm {
namespace {

// "at the start", or "after" and the quoted events before the rejection.
void write_context(std::ostream& out, const rejected_trace& r) {
  const std::size_t earlier =
      r.reason == rejection_reason::event_not_allowed ? r.position - 1 : r.position;
  if (earlier == 0) {
    out << "at the start";
    return;
  }
  out << "after";
  if (earlier > r.before.size()) out << " ...";
  for (const std::string& name : r.before) {
    out << ' ';
    write_json_string(out, name);
  }
}

void write_rejection(std::ostream& out, const rejected_trace& r) {
  out << "line " << r.line << ": ";
  if (r.reason == rejection_reason::event_not_allowed) {
    out << "event " << r.position << ' ';
    write_json_string(out, r.event);
    out << " is not allowed ";
    write_context(out, r);
  } else if (r.position == 0) {
    out << "the empty trace ends in a non-accepting state";
  } else {
    out << "ends in a non-accepting state ";
    write_context(out, r);
  }
  out << "; allowed: ";
  if (r.allowed.empty()) out << "none";
  for (std::size_t i = 0; i < r.allowed.size(); ++i) {
    if (i > 0) out << ", ";
    write_json_string(out, r.allowed[i]);
  }
  out << '\n';
}

std::size_t accepted_count(const check_result& result) {
  return result.traces - result.rejected.size();
}

}  // namespace

void write_text_report(std::ostream& out, const check_result& result) {
  for (const rejected_trace& r : result.rejected) write_rejection(out, r);
  const std::size_t accepted = accepted_count(result);
  out << "accepted " << accepted << " of " << result.traces << " traces";
  if (result.traces > 0) {
    // In tenths of a percent, rounded down in integers.
    const std::size_t tenths = accepted * 1000 / result.traces;
    out << " (" << tenths / 10 << '.' << tenths % 10 << "%)";
  }
  out << '\n';
}

std::string_view reason_text(rejection_reason reason) {
  return reason == rejection_reason::non_accepting_end ? "non-accepting end"
                                                       : "event not allowed";
}

void write_json_report(std::ostream& out, const check_result& result,
                       std::string_view model_name, std::string_view log_name) {
  out << "{\"model\":";
  write_json_string(out, model_name);
  out << ",\"log\":";
  write_json_string(out, log_name);
  out << ",\"traces\":" << result.traces << ",\"accepted\":" << accepted_count(result)
      << ",\"rejected\":[";
  for (std::size_t i = 0; i < result.rejected.size(); ++i) {
    const rejected_trace& r = result.rejected[i];
    const bool at_end = r.reason == rejection_reason::non_accepting_end;
    out << (i > 0 ? ",\n" : "\n") << "{\"line\":" << r.line
        << ",\"position\":" << r.position << ",\"reason\":\"" << reason_text(r.reason)
        << "\",\"event\":";
    if (at_end) {
      out << "null";
    } else {
      write_json_string(out, r.event);
    }
    out << ",\"allowed\":[";
    for (std::size_t j = 0; j < r.allowed.size(); ++j) {
      if (j > 0) out << ',';
      write_json_string(out, r.allowed[j]);
    }
    out << "]}";
  }
  out << (result.rejected.empty() ? "]}\n" : "\n]}\n");
}

}  // namespace logfsm
