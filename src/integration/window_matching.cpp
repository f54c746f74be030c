#include "integration/window_matching.h"

#include <cassert>

#include "integration/path_creation.h"

namespace logfsm {

fsm_state mark_path_used(const machine& transitions, const path& p) {
  assert(p.size() >= 2);
  for (std::size_t j = 0; j + 1 < p.size(); ++j) {
    if (const fsm_transition* t = transitions.find_stored(p[j], p[j + 1])) *t->used = true;
  }
  return p[1];
}

void match_window(fsm_builder& builder, pruner& pruning, const window& w,
                  fsm_state& current) {
  pending_paths paths = pruning.take_paths(builder, current, w);
  if (paths.match) {
    current = mark_path_used(builder.transitions, *paths.match);
  } else {
    paths.keep();  // path creation changes the machine
    const path created = extend_for_window(builder, pruning.walks(), w, current);
    current = created[1];
    mark_path_used(builder.transitions, created);
  }
  pruning.prune_unobserved_paths(builder, paths);
}

}  // namespace logfsm
