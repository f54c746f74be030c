// What a learning run writes: the one list of its output files.
#ifndef LOGFSM_OUTPUT_OUTPUTS_H_
#define LOGFSM_OUTPUT_OUTPUTS_H_

#include <cstdint>
#include <functional>
#include <string_view>
#include <string>
#include <vector>

#include "base/status.h"
#include "model/machine.h"

namespace logfsm {

enum class output_kind { dot, json, html };

struct output_file {
  output_kind kind;
  std::string name;
  status written;  // cannot_write when the file could not be written
};

// Makes the text of an output that needs more than the machine (the HTML
// view needs the log too).
using page_maker = std::function<std::string()>;

// The text of the DOT or JSON file of `m`, byte for byte as write_outputs
// writes it. Requires: kind is dot or json.
std::string output_text(const machine& m, output_kind kind);

// Writes every output of `m`, each as <stem>_out_<k> and its suffix, in this
// order: the DOT file (.dot), the JSON file (.json), then, when `html` is
// given, the HTML view (.html) that it makes. Each file is written
// completely or not at all (output/file_output.h), and one that cannot be
// written does not stop the others.
std::vector<output_file> write_outputs(const machine& m, const std::string& stem,
                                       std::int32_t k, const page_maker& html = {});

}  // namespace logfsm

#endif  // LOGFSM_OUTPUT_OUTPUTS_H_
