// logfsm: learns a finite-state machine from an event log.
#include <iostream>
#include <string>
#include <vector>

#include "frontend/program.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return logfsm::run_program(args, std::cin, std::cout, std::cerr,
                             logfsm::system_environment());
}
