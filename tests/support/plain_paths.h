// Path enumeration, the unseen-window check and pruning as plain stack walks
// over plain scans of the machine and plain lists of paths: the reference
// that the fast versions are checked against.
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
// Pruning of `paths` (listed before the machine changed), one path after the
// other in order, each step through find_or_make_transition.
void plain_prune_unobserved_paths(fsm_builder& builder, const std::vector<path>& paths);

}  // namespace logfsm::testing

#endif  // LOGFSM_TESTS_SUPPORT_PLAIN_PATHS_H_
