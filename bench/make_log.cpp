// Writes a process-like event log to standard output, for benchmarks:
//   logfsm_make_log SEED TRACES NAMES
// The same arguments give the same bytes on every platform.
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>

#include "support/log_generator.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: logfsm_make_log SEED TRACES NAMES\n";
    return 2;
  }
  const std::uint64_t seed = std::strtoull(argv[1], nullptr, 10);
  const auto traces = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
  const auto names = static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10));
  if (names == 0) {
    std::cerr << "logfsm_make_log: NAMES must be at least 1\n";
    return 2;
  }
  std::cout << logfsm::testing::process_log(seed, traces, names);
  return std::cout.good() ? 0 : 1;
}
