// logfsm: learns a finite-state machine from an event log.
#include <iostream>

#include "frontend/dialogue.h"
#include "output/renderer.h"

int main() {
  return logfsm::run_dialogue(std::cin, std::cout, logfsm::start_renderer);
}
