#include "view/view_page.h"

#include "checking/check_report.h"
#include "output/json_text.h"
#include "output/state_text.h"

namespace logfsm {
namespace {

void add_count(json_text& json, const use_count& c) {
  json.key("traces").number(c.traces).key("examples").array(
      c.examples, [](json_text& j, std::size_t line) { j.number(line); });
}

// The log's case ids (one per line), when it has them; its names and its
// variants, each with its lines and events.
void add_log_members(json_text& json, const event_log& log, const std::vector<log_variant>& variants) {
  if (log.has_case_ids()) {
    json.key("cases").open_array();
    for (std::size_t i = 0; i < log.line_count(); ++i) json.string(log.case_id(i));
    json.close_array();
  }
  json.key("names").strings(log.names());
  json.key("variants").open_array(true);
  for (const log_variant& v : variants) {
    json.open_object().key("count").number(v.lines.size());
    json.key("lines").array(v.lines, [](json_text& j, std::size_t line) { j.number(line); });
    json.key("events").array(v.events, [](json_text& j, std::uint32_t n) { j.number(n); });
    json.close_object();
  }
  json.close_array();
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

// The page's scripts, one after the other, as one <script> element.
std::vector<std::string_view> script_text(const std::vector<std::string_view>& scripts) {
  std::vector<std::string_view> text{"<script>\n"};
  text.insert(text.end(), scripts.begin(), scripts.end());
  text.push_back("</script>");
  return text;
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
                      const machine_shape& shape, const event_log& log,
                      const machine_usage& usage) {
  std::vector<bool> initial(shape.states.size(), false), accepting(shape.states.size(), false);
  for (const std::uint32_t s : shape.initial) initial[s] = true;
  for (const std::uint32_t s : shape.accepting) accepting[s] = true;

  std::string text;
  json_text json(text);
  json.open_object().key("model").string(model_name).key("log").string(log_name);
  json.key("states").open_array(true);
  for (std::size_t s = 0; s < shape.states.size(); ++s) {
    json.open_object()
        .key("name").string(shape.states[s].name)
        .key("id").number(shape.states[s].id)
        .key("accepting").boolean(accepting[s])
        .key("initial").boolean(initial[s]);
    add_count(json, usage.states[s]);
    json.close_object();
  }
  json.close_array().key("transitions").open_array(true);
  for (std::size_t t = 0; t < shape.transitions.size(); ++t) {
    const shape_transition& m = shape.transitions[t];
    json.open_object()
        .key("from").number(m.from)
        .key("to").number(m.to)
        .key("track").string(shape.track(m));
    add_count(json, usage.transitions[t]);
    json.close_object();
  }
  json.close_array().key("runs").array(
      usage.runs,
      [](json_text& j, const std::vector<std::uint32_t>& run) {
        j.array(run, [](json_text& k, std::uint32_t t) { k.number(t); });
      },
      true);
  json.key("traces").open_array(true);
  for (std::size_t i = 0; i < usage.traces.size(); ++i) {
    const trace_use& trace = usage.traces[i];
    json.open_object()
        .key("line").number(i + 1)
        .key("accepted").boolean(trace.accepted)
        .key("run").number(trace.run);
    if (!trace.accepted) {
      add_rejection_members(json, trace.rejection);
      json.key("stops").array(trace.stops, [](json_text& j, std::uint32_t s) { j.number(s); });
      json.key("explanation").string(rejection_line(trace.rejection));
    }
    json.close_object();
  }
  json.close_array();
  add_log_members(json, log, usage.variants);
  json.key("accepted").number(usage.accepted).close_object();
  text += '\n';
  return script_safe(text);
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
      {"<!-- logfsm:script -->", script_text(assets.scripts)},
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
                           std::string_view log_name, const machine_shape& shape,
                           const event_log& log, std::size_t examples) {
  const replay_machine machine = compile_model(shape);
  const machine_usage usage = count_usage(shape, machine, log, examples);
  return view_page(assets, title, view_data(title, log_name, shape, log, usage));
}

}  // namespace logfsm
