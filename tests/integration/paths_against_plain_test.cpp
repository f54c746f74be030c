// Path enumeration and the unseen-window check against plain walks over
// plain scans, on the machines met while learning many generated logs: same
// paths in the same order, made of the same copies, and the same verdicts;
// a verdict on all targets of a name never refuses one the check accepts.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "integration/integrate_trace.h"
#include "integration/paths.h"
#include "integration/unseen_window.h"
#include "learning/seed_transitions.h"
#include "learning/statistics.h"
#include "readers/text_log.h"
#include "support/log_generator.h"
#include "support/plain_paths.h"

namespace logfsm {
namespace {

std::string identity(const std::vector<path>& paths) {
  std::ostringstream out;
  for (const path& p : paths) {
    for (const fsm_state& s : p) out << s.name() << '/' << s.id << '@' << s.accepting.get() << ' ';
    out << '\n';
  }
  return out.str();
}

void expect_same_as_plain(const fsm_builder& b, walk_scratch& scratch) {
  if (b.transitions.size() > 40) return;  // plain walks are slow beyond
  for (const fsm_transition& t : b.transitions) {
    const bool refused = testing::plain_creates_unseen_window(b, t);
    ASSERT_EQ(creates_unseen_window(b, scratch, t), refused)
        << t.from.name() << t.from.id << " -> " << t.to.name() << t.to.id;
    // Refusing every target of a name at once must never refuse one that
    // the check accepts.
    if (!t.is_self_loop() && !is_initial_state(t.to) && !refused) {
      ASSERT_FALSE(ends_unseen_window(b, scratch, t.from, *t.to.event));
    }
    for (const fsm_state* s : {&t.from, &t.to}) {
      for (const direction dir : {direction::forward, direction::backward}) {
        ASSERT_EQ(identity(enumerate_paths(b.transitions, b.k, *s, dir)),
                  identity(testing::plain_enumerate_paths(b.transitions, b.k, *s, dir)));
      }
    }
  }
}

TEST(PathsAgainstPlainWalks, AgreeThroughoutLearning) {
  for (std::uint64_t seed = 1; seed <= 200; ++seed) {
    const testing::generated_log g = testing::random_log(seed);
    fsm_builder b(parse_log(g.text), g.k);
    for (const trace& t : b.traces) {
      collect_pairs(b, t);
      collect_windows(b, t);
    }
    seed_transitions(b);
    pruner pruning;
    for (const trace& t : b.traces) {
      ASSERT_NO_FATAL_FAILURE(expect_same_as_plain(b, pruning.walks()))
          << "seed " << seed;
      integrate_trace(b, pruning, t);
    }
    ASSERT_NO_FATAL_FAILURE(expect_same_as_plain(b, pruning.walks())) << "seed " << seed;
  }
}

}  // namespace
}  // namespace logfsm
