// The machine's indexes against plain scans of the transition set, on many
// small random machines under random insertions and erasures. Answers must
// agree in elements, order, and in the flag objects the copies share.
#include <gtest/gtest.h>

#include <sstream>

#include "model/machine.h"
#include "support/fixtures.h"
#include "support/log_generator.h"
#include "support/plain_queries.h"

namespace logfsm {
namespace {

// The identity of a state copy: its id, name and flag object.
std::string identity(const fsm_state& s) {
  std::ostringstream out;
  out << s.name() << '/' << s.id << '@' << s.accepting.get();
  return out.str();
}

std::string identity(const fsm_transition& t) {
  std::ostringstream out;
  out << identity(t.from) << "->" << identity(t.to) << '@' << t.used.get();
  return out.str();
}

template <typename T>
std::string identity(const std::vector<T>& items) {
  std::string result;
  for (const T& item : items) result += identity(item) + ' ';
  return result;
}

std::string identity(const std::optional<fsm_transition>& t) {
  return t ? identity(*t) : "none";
}

class random_machines {
 public:
  explicit random_machines(std::uint64_t seed) : rng_(seed) {
    for (const char* name : {"", "a", "b", "ab"}) events_.push_back(make_event(name));
    for (const event_ptr& e : events_) {
      for (const std::int16_t id : {0, 1, 7, -2, -1}) {
        lines_.emplace_back(id, e);
        lines_.emplace_back(id, e);  // an equal state with a flag of its own
      }
    }
  }

  // A state: one of a few lines of copies, or a separately made one.
  fsm_state state() {
    if (rng_.chance(20)) {
      const fsm_state& line = lines_[rng_.below(size(lines_))];
      return fsm_state(line.id, line.event);
    }
    return lines_[rng_.below(size(lines_))];
  }
  const event_type& event() { return *events_[rng_.below(size(events_))]; }
  bool chance(std::uint32_t percent) { return rng_.chance(percent); }
  std::uint32_t below(std::uint32_t n) { return rng_.below(n); }

 private:
  template <typename T>
  static std::uint32_t size(const std::vector<T>& v) {
    return static_cast<std::uint32_t>(v.size());
  }
  testing::seeded_sequence rng_;
  std::vector<event_ptr> events_;
  std::vector<fsm_state> lines_;
};

void expect_same_answers(const machine& m, random_machines& gen) {
  for (int probe = 0; probe < 12; ++probe) {
    const fsm_state s = gen.state();
    const event_type& e = gen.event();
    ASSERT_EQ(identity(m.incident_transitions(s)),
              identity(testing::plain_incident_transitions(m, s)));
    const std::vector<fsm_state> named = testing::plain_states_with_event(m, e);
    ASSERT_EQ(identity(testing::states_named(m, e)), identity(named));
    const std::optional<fsm_state> last = m.last_state_with_event(e);
    ASSERT_EQ(last ? identity(*last) : "none", named.empty() ? "none" : identity(named.back()));
    ASSERT_EQ(identity(m.find_transition_to_event(s, e)),
              identity(testing::plain_find_transition_to_event(m, s, e)));
  }
}

TEST(MachineIndexes, AnswerLikePlainScansUnderInsertionsAndErasures) {
  for (std::uint64_t seed = 1; seed <= 300; ++seed) {
    random_machines gen(seed);
    machine m;
    for (int step = 0; step < 60; ++step) {
      const fsm_transition t(gen.state(), gen.state());
      if (gen.chance(65)) {
        m.insert(t);
      } else {
        m.erase(t);
      }
      ASSERT_NO_FATAL_FAILURE(expect_same_answers(m, gen)) << "seed " << seed;
    }
    const machine copy = m;
    ASSERT_NO_FATAL_FAILURE(expect_same_answers(copy, gen));
  }
}

}  // namespace
}  // namespace logfsm
