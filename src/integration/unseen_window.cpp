#include "integration/unseen_window.h"

#include <algorithm>
#include <vector>

#include "integration/paths.h"

namespace logfsm {
namespace {

bool passes_initial_state(const path& p) {
  return std::any_of(p.begin(), p.end(), is_initial_state);
}

// The paths of `candidates` that avoid the initial state and whose second
// state is `second`.
std::vector<path> paths_through(std::vector<path> candidates,
                                const fsm_state& second) {
  std::vector<path> kept;
  for (path& p : candidates) {
    if (!passes_initial_state(p) && p[1] == second) kept.push_back(std::move(p));
  }
  return kept;
}

}  // namespace

bool creates_unseen_window(const fsm_builder& builder, const fsm_transition& t) {
  if (builder.k == 2) return false;
  const machine& m = builder.transitions;
  std::vector<path> ending = paths_through(
      enumerate_paths(m, builder.k, t.to, direction::backward), t.from);
  for (path& p : ending) std::reverse(p.begin(), p.end());
  const std::vector<path> starting = paths_through(
      enumerate_paths(m, builder.k, t.from, direction::forward), t.to);
  const auto unseen = [&builder](const path& p) {
    return !builder.observed_windows.contains(path_events(p));
  };
  return std::any_of(ending.begin(), ending.end(), unseen) ||
         std::any_of(starting.begin(), starting.end(), unseen);
}

}  // namespace logfsm
