#include "evaluation/evaluation.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <charconv>
#include <chrono>
#include <mutex>
#include <thread>

#include "checking/replay.h"
#include "learning/pipeline.h"
#include "model/machine_shape.h"
#include "output/json_text.h"

namespace logfsm {
namespace {

using clock_type = std::chrono::steady_clock;

double seconds_since(clock_type::time_point start) {
  return std::chrono::duration<double>(clock_type::now() - start).count();
}

// What one run found: a fold's model (held-out and training lines
// replayed) or the whole log's model (negatives replayed).
struct run_result {
  std::size_t states = 0;
  std::size_t transitions = 0;
  std::uint64_t accepted = 0;      // held-out lines, or negatives rejected
  std::uint64_t fit_accepted = 0;  // training lines
  double seconds = 0;
  double replay_seconds = 0;
};

// Learns from `train` at `k` and replays `held` (and `train`, when `fit`)
// on the machine's shape, as `check` replays a model file. Requires: train
// holds an event.
run_result run_one(const event_log& train, std::int32_t k, const event_log& held,
                   bool fit, bool count_rejected) {
  run_result r;
  const clock_type::time_point start = clock_type::now();
  machine_shape shape;
  {
    machine learned;
    const status learned_ok = learn_log(train, k, progress_sink{}, learned);
    assert(learned_ok.ok());
    (void)learned_ok;
    shape = shape_of(learned);
    r.states = learned.states().size();
    r.transitions = learned.size();
  }
  r.seconds = seconds_since(start);

  const clock_type::time_point replay_start = clock_type::now();
  const replay_machine machine = compile_model(shape);
  const std::uint64_t accepted = count_accepted(machine, held);
  r.accepted = count_rejected ? held.line_count() - accepted : accepted;
  if (fit) r.fit_accepted = count_accepted(machine, train);
  r.replay_seconds = seconds_since(replay_start);
  return r;
}

bool has_event(const event_log& log) { return log.event_count() > 0; }

// Runs task(i) for every i below `count` on up to `jobs` threads, the
// highest i first: the runs of the largest k, which take longest, start
// first and do not leave one thread working alone at the end.
template <typename Task>
void run_tasks(std::size_t count, unsigned jobs, const Task& task) {
  std::atomic<std::size_t> next{0};
  const auto worker = [&] {
    for (std::size_t i = next++; i < count; i = next++) task(count - 1 - i);
  };
  const std::size_t threads = std::min<std::size_t>(std::max(jobs, 1u), count);
  std::vector<std::thread> pool;
  for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();
}

// floor(1000 * a / b) / 10 as text with one decimal, so that only a == b
// reads 100.0.
std::string percent(std::uint64_t a, std::uint64_t b) {
  if (b == 0) return "-";
  const std::uint64_t per_mille = a * 1000 / b;
  return std::to_string(per_mille / 10) + "." + std::to_string(per_mille % 10) + "%";
}

double ratio(std::uint64_t a, std::uint64_t b) {
  return b == 0 ? 0.0 : double(a) / double(b);
}

// a / b with six decimals, rounded down like percent().
std::string fraction(std::uint64_t a, std::uint64_t b) {
  if (b == 0) return "0";
  const std::uint64_t millionths = a * 1000000 / b;
  char text[32];
  std::snprintf(text, sizeof text, "%llu.%06llu",
                static_cast<unsigned long long>(millionths / 1000000),
                static_cast<unsigned long long>(millionths % 1000000));
  return text;
}

std::string fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string count_share(std::uint64_t a, std::uint64_t b) {
  return std::to_string(a) + " of " + std::to_string(b) + " (" + percent(a, b) + ")";
}

}  // namespace

status parse_k_list(std::string_view text, std::vector<std::int32_t>& ks) {
  ks.clear();
  const auto number = [](std::string_view piece, std::int32_t& k) {
    const char* end = piece.data() + piece.size();
    const auto [at, error] = std::from_chars(piece.data(), end, k);
    return error == std::errc() && at == end && !piece.empty() && piece[0] != '-' &&
           piece[0] != '+' && k >= 2;
  };
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t comma = std::min(text.find(',', at), text.size());
    const std::string_view piece = text.substr(at, comma - at);
    const std::size_t dash = piece.find('-');
    std::int32_t first = 0;
    std::int32_t last = 0;
    const bool ok = dash == std::string_view::npos
                        ? number(piece, first) && (last = first, true)
                        : number(piece.substr(0, dash), first) &&
                              number(piece.substr(dash + 1), last) && first <= last;
    if (!ok) {
      ks.clear();
      return status(status_code::bad_argument,
                    "--k: \"" + std::string(piece) +
                        "\" is not a k of 2 or more, nor a range like 2-6");
    }
    if (std::int64_t{last} - first + std::int64_t(ks.size()) >= kMaxKs) {
      ks.clear();
      return status(status_code::bad_argument,
                    "--k: at most " + std::to_string(kMaxKs) + " values of k");
    }
    for (std::int64_t k = first; k <= last; ++k)
      ks.push_back(static_cast<std::int32_t>(k));
    at = comma + 1;
  }
  std::sort(ks.begin(), ks.end());
  ks.erase(std::unique(ks.begin(), ks.end()), ks.end());
  return status();
}

status evaluate(const event_log& log, const eval_options& options, eval_report& report) {
  report = eval_report();
  const std::size_t lines = log.line_count();
  const std::size_t folds = options.folds;
  if (!has_event(log)) {
    return status(status_code::empty_log, "Log is empty or the format is incorrect.");
  }
  if (folds < 2 || lines < folds) {
    return status(status_code::bad_argument,
                  std::to_string(folds) + " folds need at least " +
                      std::to_string(folds) + " traces; the log has " +
                      std::to_string(lines));
  }

  // A fold's training lines hold an event unless every event is held out.
  std::vector<std::int64_t> held_events(folds, 0);
  for (std::size_t i = 0; i < lines; ++i)
    held_events[i % folds] += static_cast<std::int64_t>(log.line(i).size());
  for (std::size_t f = 0; f < folds; ++f) {
    if (held_events[f] == log.event_count()) {
      return status(status_code::empty_log,
                    "the traces outside fold " + std::to_string(f + 1) +
                        " hold no event, so no model can be learned from them");
    }
  }

  // Run r: k number r / per_k, fold r % per_k; fold `folds` is the whole
  // log's model for the negatives. Results are kept by run number, so the
  // report does not depend on which thread ran what.
  const bool negatives = options.negatives != nullptr;
  const std::size_t per_k = folds + (negatives ? 1 : 0);
  const std::size_t total = options.ks.size() * per_k;
  std::vector<run_result> results(total);
  std::mutex progress_mutex;
  std::size_t done = 0;
  run_tasks(total, options.jobs, [&](std::size_t r) {
    const std::int32_t k = options.ks[r / per_k];
    const std::size_t f = r % per_k;
    if (f < folds) {
      // Each run picks its fold's lines from the log read once (no name is
      // read or hashed again), so memory grows with the threads, not the
      // folds.
      std::vector<std::size_t> in;
      std::vector<std::size_t> out;
      for (std::size_t i = 0; i < lines; ++i) (i % folds == f ? in : out).push_back(i);
      results[r] = run_one(log.select_lines(out), k, log.select_lines(in), true, false);
    } else {
      results[r] = run_one(log, k, *options.negatives, false, true);
    }
    if (options.progress) {
      const std::lock_guard<std::mutex> lock(progress_mutex);
      options.progress(++done, total);
    }
  });

  report.folds = folds;
  double best = -1;
  for (std::size_t i = 0; i < options.ks.size(); ++i) {
    eval_row row;
    row.k = options.ks[i];
    row.held_out = lines;
    for (std::size_t f = 0; f < folds; ++f) {
      const run_result& r = results[i * per_k + f];
      row.accepted += r.accepted;
      row.fit_accepted += r.fit_accepted;
      row.fit_total += lines - (lines - f + folds - 1) / folds;  // lines outside fold f
      row.states += double(r.states);
      row.transitions += double(r.transitions);
      row.seconds += r.seconds;
      row.replay_seconds += r.replay_seconds;
    }
    row.states /= double(folds);
    row.transitions /= double(folds);
    row.seconds /= double(folds);
    row.replay_seconds /= double(folds);
    if (negatives) {
      row.has_negatives = true;
      row.negatives_rejected = results[i * per_k + folds].accepted;
      row.negatives = options.negatives->line_count();
      row.bcr = (ratio(row.accepted, row.held_out) +
                 ratio(row.negatives_rejected, row.negatives)) /
                2;
    }
    const double per_transition =
        row.transitions > 0 ? ratio(row.accepted, row.held_out) / row.transitions : 0.0;
    if (per_transition > best) {
      best = per_transition;
      report.suggested = i;
    }
    report.rows.push_back(row);
  }
  return status();
}

void write_eval_text(std::ostream& out, const eval_report& report) {
  const bool negatives = !report.rows.empty() && report.rows.front().has_negatives;
  std::vector<std::vector<std::string>> table;
  table.push_back({"k", "recall", "fit", "states", "transitions", "learn s", "replay s"});
  if (negatives) {
    table.front().push_back("specificity");
    table.front().push_back("bcr");
  }
  for (const eval_row& row : report.rows) {
    table.push_back({std::to_string(row.k), count_share(row.accepted, row.held_out),
                     percent(row.fit_accepted, row.fit_total), fixed(row.states, 1),
                     fixed(row.transitions, 1), fixed(row.seconds, 3),
                     fixed(row.replay_seconds, 3)});
    if (negatives) {
      table.back().push_back(count_share(row.negatives_rejected, row.negatives));
      table.back().push_back(fixed(row.bcr, 3));
    }
  }
  std::vector<std::size_t> width(table.front().size(), 0);
  for (const auto& cells : table) {
    for (std::size_t c = 0; c < cells.size(); ++c)
      width[c] = std::max(width[c], cells[c].size());
  }
  for (const auto& cells : table) {
    std::string line;
    for (std::size_t c = 0; c < cells.size(); ++c) {
      // Numbers right-aligned, the recall's and specificity's text left.
      const bool left = table.front()[c] == "recall" || table.front()[c] == "specificity";
      const std::string pad(width[c] - cells[c].size(), ' ');
      line += (c > 0 ? "  " : "") + (left ? cells[c] + pad : pad + cells[c]);
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  }
  if (report.rows.empty()) return;
  out << report.folds << " folds; suggested: k = " << report.rows[report.suggested].k
      << " (best recall per transition)";
  if (negatives) {
    const auto best = std::max_element(
        report.rows.begin(), report.rows.end(),
        [](const eval_row& a, const eval_row& b) { return a.bcr < b.bcr; });
    out << "; best balanced classification rate: k = " << best->k;
  }
  out << '\n';
}

void write_eval_json(std::ostream& out, const eval_report& report) {
  std::string text;
  json_text json(text);
  json.open_object().key("folds").number(report.folds).key("rows").open_array(true);
  for (const eval_row& row : report.rows) {
    json.open_object()
        .key("k").number(row.k)
        .key("accepted").number(row.accepted)
        .key("held_out").number(row.held_out)
        .key("recall").number_text(fraction(row.accepted, row.held_out))
        .key("fit_accepted").number(row.fit_accepted)
        .key("fit_total").number(row.fit_total)
        .key("states").number_text(fixed(row.states, 3))
        .key("transitions").number_text(fixed(row.transitions, 3))
        .key("seconds").number_text(fixed(row.seconds, 6))
        .key("replay_seconds").number_text(fixed(row.replay_seconds, 6));
    if (row.has_negatives) {
      json.key("negatives_rejected").number(row.negatives_rejected)
          .key("negatives").number(row.negatives)
          .key("specificity").number_text(fraction(row.negatives_rejected, row.negatives))
          .key("bcr").number_text(fixed(row.bcr, 6));
    }
    json.close_object();
  }
  json.close_array();
  if (!report.rows.empty()) json.key("suggested_k").number(report.rows[report.suggested].k);
  json.close_object();
  out << text << '\n';
}

}  // namespace logfsm
