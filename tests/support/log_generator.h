// Deterministic generators of event logs for tests and benchmarks. The same
// seed gives the same bytes on every platform and compiler (no standard
// library distributions are involved).
#ifndef LOGFSM_TESTS_SUPPORT_LOG_GENERATOR_H_
#define LOGFSM_TESTS_SUPPORT_LOG_GENERATOR_H_

#include <cstdint>
#include <string>

namespace logfsm::testing {

// A small pseudo-random sequence (splitmix64).
class seeded_sequence {
 public:
  explicit seeded_sequence(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next();
  // A value from 0 to n - 1. Requires: n > 0.
  std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(next() % n); }
  // True with probability percent / 100.
  bool chance(std::uint32_t percent) { return below(100) < percent; }

 private:
  std::uint64_t state_;
};

struct generated_log {
  std::string text;
  std::int32_t k;
};

// A small log of one of many shapes: tiny and large alphabets, random or
// process-like traces, immediate repetitions, empty lines, lines without
// ";" or with text after the last ";", CR LF line ends; k from 2 to 6.
generated_log random_log(std::uint64_t seed);

// A log of `traces` traces drawn from a fixed random process over
// `event_names` activity names (seeded by `seed`): a start, branching
// successors with loops back, occasional repetitions, about 20 events per
// trace. For benchmarks.
std::string process_log(std::uint64_t seed, std::uint32_t traces,
                        std::uint32_t event_names);

}  // namespace logfsm::testing

#endif  // LOGFSM_TESTS_SUPPORT_LOG_GENERATOR_H_
