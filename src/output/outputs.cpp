#include "output/outputs.h"

#include <string>
#include <string_view>

#include "output/dot_writer.h"
#include "output/file_output.h"
#include "output/json_writer.h"

namespace logfsm {
namespace {

struct output_format {
  output_kind kind;
  std::string_view suffix;
  void (*append)(std::string& out, const machine& m);
};

// The DOT file ends with a line end, the JSON file without one.
constexpr output_format kFormats[] = {
    {output_kind::dot, ".dot",
     [](std::string& out, const machine& m) {
       append_dot(out, m);
       out += '\n';
     }},
    {output_kind::json, ".json",
     [](std::string& out, const machine& m) { append_json(out, m); }},
};

// About the most either text takes when names need no escapes: every
// transition's line or record and its ends in the state and accepting
// lists. Reserving it spares the text its copies as it grows (the pages not
// written are never touched); names with escapes may still make it grow.
std::size_t text_estimate(const machine& m) {
  std::size_t estimate = 256;
  for (const fsm_transition& t : m) estimate += 3 * (t.from.name().size() + t.to.name().size()) + 96;
  return estimate;
}

}  // namespace

std::string output_text(const machine& m, output_kind kind) {
  std::string text;
  text.reserve(text_estimate(m));
  for (const output_format& format : kFormats) {
    if (format.kind == kind) format.append(text, m);
  }
  return text;
}

std::vector<output_file> write_outputs(const machine& m, const std::string& stem,
                                       std::int32_t k, const page_maker& html) {
  std::vector<output_file> files;
  const std::string base = stem + "_out_" + std::to_string(k);
  for (const output_format& format : kFormats) {
    std::string name = base + std::string(format.suffix);
    status written = write_file_atomically(name, output_text(m, format.kind));
    files.push_back({format.kind, std::move(name), std::move(written)});
  }
  if (html) {
    std::string name = base + ".html";
    status written = write_file_atomically(name, html());
    files.push_back({output_kind::html, std::move(name), std::move(written)});
  }
  return files;
}

}  // namespace logfsm
