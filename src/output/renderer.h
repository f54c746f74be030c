// Starting Graphviz `dot` on a DOT file (platform process calls).
#ifndef LOGFSM_OUTPUT_RENDERER_H_
#define LOGFSM_OUTPUT_RENDERER_H_

#include <functional>
#include <string>

namespace logfsm {

// Starts rendering of `dot_file` as `format` without waiting for it; returns
// 0 when it started, else the system's error code. The seam through which
// the commands render, so that tests can stand in for it.
using render_function =
    std::function<unsigned long(const std::string& dot_file, const std::string& format)>;

// Starts `dot` with the three arguments <dot_file>, -T<format> and -O (the
// picture next to the DOT file, named <dot_file>.<format>) and does not wait
// for it. The file name is one argument whatever characters it holds;
// nothing is interpreted by a shell. On Windows the program is the usual
// Graphviz 2.38 path, then any dot.exe on PATH; elsewhere `dot` is found
// through PATH. Returns 0, or the system error code when it cannot be
// started (2 when there is no such program).
unsigned long start_dot(const std::string& dot_file, const std::string& format);

}  // namespace logfsm

#endif  // LOGFSM_OUTPUT_RENDERER_H_
