// One learning run, as every way of running logfsm does it: read the log,
// refuse an empty one, learn with progress, write every output file. The
// dialogue and the command line differ only in how they ask, report and
// render around it.
#ifndef LOGFSM_FRONTEND_LEARN_RUN_H_
#define LOGFSM_FRONTEND_LEARN_RUN_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "base/status.h"
#include "learning/pipeline.h"
#include "output/outputs.h"
#include "readers/log_source.h"
#include "view/view_page.h"

namespace logfsm {

struct learn_request {
  std::int32_t k = 2;  // Requires: 2 or more
  // Where the output files go: empty for next to the log, else this
  // directory (made when missing; a failure shows when the files are
  // written).
  std::string output_dir;
  progress_sink progress;
  // Also write the HTML view with the traces of the log (<stem>_out_<k>.html),
  // keeping up to `examples` lines per state and transition. Requires: the
  // build writes HTML views (embedded_view_assets() is not null).
  bool html = false;
  std::size_t examples = kDefaultExamples;
  // Called with each of the reader's notes (readers/log_source.h), before
  // learning starts.
  std::function<void(const std::string&)> note;
};

struct learn_result {
  // ok; the reader's failure (bad_log, bad_argument, cannot_read; its
  // message names the log) when the log cannot be read; empty_log ("Log is
  // empty or the format is incorrect.") when the log holds no line or no
  // event; cannot_write when some output file could not be written (the
  // first such file's status).
  status outcome;
  // Every output file in writing order, each with its own status; none when
  // the log is empty or cannot be read.
  std::vector<output_file> files;
  std::size_t states = 0;
  std::size_t transitions = 0;
  std::size_t accepting_states = 0;

  // The name of the output file of `kind`; empty when there is none.
  std::string file(output_kind kind) const;
};

// Reads `source` (opened by open_log_source) to its end; in the `;` format
// a read error ends the log like its end, the lines read before it standing,
// while a reader's failure in another format ends the run before anything
// is written. Then, unless the log is empty, reports `building`, learns with
// k, and writes every output after <stem>_out_<k>.
learn_result learn_run(log_source& source, const learn_request& request);

// Writes one line per problem of `result` to `to`, each flushed: the
// reader's failure or the empty log's message, or "Cannot write output
// file: NAME" for every file not written, in writing order. Nothing for a
// run without problems.
void report_problems(const learn_result& result, std::ostream& to);

}  // namespace logfsm

#endif  // LOGFSM_FRONTEND_LEARN_RUN_H_
