// A checker for exactly the DOT text that logfsm writes (output/dot_writer.h)
// followed by the line end the pipeline adds to the file:
//
//   Digraph {\n
//   node [shape = doublecircle];          then, if any, STATE " " ... ";"
//   \nnode [shape = circle];\n
//   STATE->STATE[label = QUOTED]\n        one line per transition
//   }\n
//
// QUOTED is a double-quoted string in which \" \\ and \0 stand for a quote, a
// backslash and a NUL byte; every other byte but a quote and a line end
// stands for itself. A STATE is a QUOTED whose text is NAME(ID), with a
// non-empty NAME and ID a decimal 16-bit integer written without leading
// zeros or "+". An edge's label is the NAME of its target, or empty when that
// NAME is "s0" (the initial state's text).
#ifndef LOGFSM_FUZZ_DOT_GRAMMAR_H_
#define LOGFSM_FUZZ_DOT_GRAMMAR_H_

#include <string>
#include <string_view>
#include <vector>

namespace logfsm::fuzzing {

// A quoted string's text, escapes decoded.
struct dot_edge {
  std::string from;
  std::string to;
  std::string label;
};

struct dot_graph {
  std::vector<std::string> accepting;  // as listed, repeats kept
  std::vector<dot_edge> edges;         // in file order
};

struct dot_parse {
  dot_graph graph;
  // Empty when the text follows the grammar; otherwise where it departs
  // from it, e.g. "DOT at byte 40: expected '->'".
  std::string error;
};

dot_parse parse_dot(std::string_view text);

}  // namespace logfsm::fuzzing

#endif  // LOGFSM_FUZZ_DOT_GRAMMAR_H_
