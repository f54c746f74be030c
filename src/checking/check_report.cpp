#include "checking/check_report.h"

#include "output/state_text.h"

namespace logfsm {
namespace {

void append_quoted(std::string& out, std::string_view name) {
  out += '"';
  append_escaped(out, name, text_syntax::json);
  out += '"';
}

// "at the start", or "after" and the quoted events before the rejection.
void append_context(std::string& out, const rejected_trace& r) {
  const std::size_t earlier =
      r.reason == rejection_reason::event_not_allowed ? r.position - 1 : r.position;
  if (earlier == 0) {
    out += "at the start";
    return;
  }
  out += "after";
  if (earlier > r.before.size()) out += " ...";
  for (const std::string& name : r.before) {
    out += ' ';
    append_quoted(out, name);
  }
}

std::size_t accepted_count(const check_result& result) {
  return result.traces - result.rejected.size();
}

}  // namespace

std::string rejection_line(const rejected_trace& r) {
  std::string out = "line " + std::to_string(r.line) + ": ";
  if (r.reason == rejection_reason::event_not_allowed) {
    out += "event " + std::to_string(r.position) + ' ';
    append_quoted(out, r.event);
    out += " is not allowed ";
    append_context(out, r);
  } else if (r.position == 0) {
    out += "the empty trace ends in a non-accepting state";
  } else {
    out += "ends in a non-accepting state ";
    append_context(out, r);
  }
  out += "; allowed: ";
  if (r.allowed.empty()) out += "none";
  for (std::size_t i = 0; i < r.allowed.size(); ++i) {
    if (i > 0) out += ", ";
    append_quoted(out, r.allowed[i]);
  }
  return out;
}

std::string_view reason_text(rejection_reason reason) {
  return reason == rejection_reason::non_accepting_end ? "non-accepting end"
                                                       : "event not allowed";
}

void add_rejection_members(json_text& json, const rejected_trace& r) {
  json.key("position").number(r.position).key("reason").string(reason_text(r.reason));
  json.key("event");
  if (r.reason == rejection_reason::non_accepting_end) {
    json.null();
  } else {
    json.string(r.event);
  }
  json.key("allowed").strings(r.allowed);
}

void write_text_report(std::ostream& out, const check_result& result) {
  for (const rejected_trace& r : result.rejected) out << rejection_line(r) << '\n';
  const std::size_t accepted = accepted_count(result);
  out << "accepted " << accepted << " of " << result.traces << " traces";
  if (result.traces > 0) {
    // In tenths of a percent, rounded down in integers.
    const std::size_t tenths = accepted * 1000 / result.traces;
    out << " (" << tenths / 10 << '.' << tenths % 10 << "%)";
  }
  out << '\n';
}

void write_json_report(std::ostream& out, const check_result& result,
                       std::string_view model_name, std::string_view log_name) {
  std::string text;
  json_text json(text);
  json.open_object()
      .key("model").string(model_name)
      .key("log").string(log_name)
      .key("traces").number(result.traces)
      .key("accepted").number(accepted_count(result))
      .key("rejected")
      .array(result.rejected,
             [](json_text& j, const rejected_trace& r) {
               j.open_object().key("line").number(r.line);
               add_rejection_members(j, r);
               j.close_object();
             },
             /*one_per_line=*/true)
      .close_object();
  text += '\n';
  out << text;
}

}  // namespace logfsm
