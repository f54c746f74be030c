#include "view/view_page.h"

#include <sstream>

#include "output/state_text.h"

namespace logfsm {
namespace {

template <typename T, typename Write>
void write_list(std::ostream& out, const std::vector<T>& items, Write write) {
  out << '[';
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out << ',';
    write(items[i]);
  }
  out << ']';
}

void write_count(std::ostream& out, const use_count& c) {
  out << ",\"traces\":" << c.traces << ",\"examples\":";
  write_list(out, c.examples, [&out](std::size_t line) { out << line; });
}

// The event name of a state text "NAME(ID)".
std::string_view name_of(std::string_view state) {
  const std::size_t open = state.rfind('(');
  return open == std::string_view::npos ? state : state.substr(0, open);
}

// `json` with the characters that could end or confuse a <script> element
// escaped; they stand only inside strings, where the escapes read the same.
std::string script_safe(const std::string& json) {
  std::string out;
  out.reserve(json.size());
  for (std::size_t i = 0; i < json.size(); ++i) {
    const char c = json[i];
    if (c == '<') {
      out += "\\u003c";
    } else if (c == '>') {
      out += "\\u003e";
    } else if (c == '&') {
      out += "\\u0026";
    } else if (c == '\xE2' && i + 2 < json.size() && json[i + 1] == '\x80' &&
               (json[i + 2] == '\xA8' || json[i + 2] == '\xA9')) {
      out += json[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
      i += 2;
    } else {
      out += c;
    }
  }
  return out;
}

std::string html_escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

std::string view_data(std::string_view model_name, std::string_view log_name,
                      const model_file& model, const machine_usage& usage) {
  std::vector<bool> initial(model.states.size(), false), accepting(model.states.size(), false);
  for (const std::uint32_t s : model.initial) initial[s] = true;
  for (const std::uint32_t s : model.accepting) accepting[s] = true;

  std::ostringstream out;
  out << "{\"model\":";
  write_json_string(out, model_name);
  out << ",\"log\":";
  write_json_string(out, log_name);
  out << ",\"states\":[";
  for (std::size_t s = 0; s < model.states.size(); ++s) {
    out << (s > 0 ? ",\n" : "\n") << "{\"id\":";
    write_json_string(out, model.states[s]);
    out << ",\"name\":";
    write_json_string(out, name_of(model.states[s]));
    out << ",\"accepting\":" << (accepting[s] ? "true" : "false")
        << ",\"initial\":" << (initial[s] ? "true" : "false");
    write_count(out, usage.states[s]);
    out << '}';
  }
  out << "],\"transitions\":[";
  for (std::size_t t = 0; t < model.transitions.size(); ++t) {
    const model_transition& m = model.transitions[t];
    out << (t > 0 ? ",\n" : "\n") << "{\"from\":";
    write_json_string(out, model.states[m.from]);
    out << ",\"to\":";
    write_json_string(out, model.states[m.to]);
    out << ",\"track\":";
    write_json_string(out, m.track);
    write_count(out, usage.transitions[t]);
    out << '}';
  }
  out << "],\"runs\":[";
  for (std::size_t r = 0; r < usage.runs.size(); ++r) {
    out << (r > 0 ? ",\n" : "\n");
    write_list(out, usage.runs[r], [&out](std::uint32_t t) { out << t; });
  }
  out << "],\"traces\":[";
  for (std::size_t i = 0; i < usage.traces.size(); ++i) {
    const trace_use& trace = usage.traces[i];
    out << (i > 0 ? ",\n" : "\n") << "{\"line\":" << i + 1
        << ",\"accepted\":" << (trace.accepted ? "true" : "false") << ",\"run\":" << trace.run;
    if (!trace.accepted) {
      const rejected_trace& r = trace.rejection;
      out << ",\"reason\":"
          << (r.reason == rejection_reason::event_not_allowed ? "\"event\"" : "\"end\"")
          << ",\"position\":" << r.position << ",\"event\":";
      write_json_string(out, r.event);
      out << ",\"before\":";
      write_list(out, r.before, [&out](const std::string& e) { write_json_string(out, e); });
      out << ",\"allowed\":";
      write_list(out, r.allowed, [&out](const std::string& e) { write_json_string(out, e); });
    }
    out << '}';
  }
  out << "],\"accepted\":" << usage.accepted << "}\n";
  return script_safe(out.str());
}

std::string view_page(const view_assets& assets, std::string_view title,
                      const std::string& data) {
  const std::string escaped_title = html_escaped(title);
  struct piece {
    std::string_view marker;
    std::vector<std::string_view> text;
  };
  const piece pieces[] = {
      {"<!-- logfsm:title -->", {escaped_title}},
      {"<!-- logfsm:style -->", {"<style>\n", assets.style, "</style>"}},
      {"<!-- logfsm:data -->",
       {"<script type=\"application/json\" id=\"logfsm-data\">", data, "</script>"}},
      {"<!-- logfsm:libraries -->",
       {"<script>\n", assets.layout, "\n</script>\n<script>\n", assets.pan_zoom,
        "\n</script>"}},
      {"<!-- logfsm:script -->", {"<script>\n", assets.script, "</script>"}},
  };
  std::size_t size = assets.page.size();
  for (const piece& p : pieces) {
    for (const std::string_view t : p.text) size += t.size();
  }
  // The page is copied once: up to each marker, then what replaces it.
  std::string page;
  page.reserve(size);
  std::string_view rest = assets.page;
  while (!rest.empty()) {
    const piece* next = nullptr;
    std::size_t at = rest.size();
    for (const piece& p : pieces) {
      const std::size_t found = rest.find(p.marker);
      if (found < at) {
        at = found;
        next = &p;
      }
    }
    page.append(rest.substr(0, at));
    if (next == nullptr) break;
    for (const std::string_view t : next->text) page.append(t);
    rest.remove_prefix(at + next->marker.size());
  }
  return page;
}

std::string make_view_page(const view_assets& assets, std::string_view title,
                           std::string_view log_name, const model_file& model,
                           const event_log& log, std::size_t examples) {
  const replay_machine machine = compile_model(model);
  const machine_usage usage = count_usage(model, machine, log, examples);
  return view_page(assets, title, view_data(title, log_name, model, usage));
}

}  // namespace logfsm
