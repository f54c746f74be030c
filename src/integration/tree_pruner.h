// Pruning the paths of a path tree as the sweep over them one by one would,
// without listing them: their number grows exponentially with k, the tree
// does not.
#ifndef LOGFSM_INTEGRATION_TREE_PRUNER_H_
#define LOGFSM_INTEGRATION_TREE_PRUNER_H_

#include <set>

#include "integration/path_tree.h"
#include "model/fsm_builder.h"
#include "model/fsm_transition.h"

namespace logfsm {

// The transitions the sweep chooses over the tree's paths (see
// prune_unobserved_paths): for each unobserved path in enumeration order,
// the first unused transition along it, a step no longer stored being made
// again through find_or_make_transition (drawing a number) as the sweep
// makes it. Erases nothing. The tree is one taken from builder.transitions,
// whose state numbers its nodes hold.
std::set<fsm_transition, transition_less> choose_in_tree(fsm_builder& builder,
                                                         const path_tree& tree);

}  // namespace logfsm

#endif  // LOGFSM_INTEGRATION_TREE_PRUNER_H_
