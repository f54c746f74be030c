#include "model/fsm_builder.h"

#include <cassert>
#include <utility>

namespace logfsm {

fsm_builder::fsm_builder(raw_traces raw, std::int32_t k) : k(k) {
  assert(k >= 2);
  traces.reserve(raw.size());
  for (std::vector<std::string>& names : raw) {
    trace t;
    t.reserve(names.size());
    for (std::string& name : names) t.push_back(make_event(std::move(name)));
    traces.push_back(std::move(t));
  }
}

}  // namespace logfsm
