// Starting Graphviz `dot` on the DOT file (platform process calls).
#ifndef LOGFSM_OUTPUT_RENDERER_H_
#define LOGFSM_OUTPUT_RENDERER_H_

#include <cstdint>
#include <ostream>
#include <string>

namespace logfsm {

// Starts `dot` with the three arguments <stem>_out_<k>.dot, -Tpng and -O (a
// PNG next to the DOT file) and does not wait for it. The file name is one
// argument whatever characters it holds; nothing is interpreted by a shell.
// On Windows the program is the fixed Graphviz 2.38 path; elsewhere `dot` is
// found through PATH. When it cannot be started, writes the system error
// code in decimal alone on a line to `out` (and a hint to stderr); the
// program goes on either way.
void start_renderer(const std::string& stem, std::int32_t k, std::ostream& out);

// The same for any DOT file and output format: `dot <dot_file> -T<format>
// -O` (the picture next to the DOT file, named <dot_file>.<format>).
void start_dot(const std::string& dot_file, const std::string& format, std::ostream& out);

}  // namespace logfsm

#endif  // LOGFSM_OUTPUT_RENDERER_H_
