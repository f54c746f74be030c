// Path enumeration and the unseen-window check as plain stack walks over
// plain scans of the machine: the reference that the fast versions are
// checked against.
#ifndef LOGFSM_TESTS_SUPPORT_PLAIN_PATHS_H_
#define LOGFSM_TESTS_SUPPORT_PLAIN_PATHS_H_

#include <cstdint>
#include <vector>

#include "integration/paths.h"
#include "model/fsm_builder.h"

namespace logfsm::testing {

std::vector<path> plain_enumerate_paths(const machine& m, std::int32_t k,
                                        const fsm_state& start, direction dir);
bool plain_creates_unseen_window(const fsm_builder& builder, const fsm_transition& t);

}  // namespace logfsm::testing

#endif  // LOGFSM_TESTS_SUPPORT_PLAIN_PATHS_H_
