// The HTML view of a machine: one self-contained page that draws the
// machine in the browser (Graphviz compiled to WebAssembly) with how many
// traces of a log use each state and transition.
#ifndef LOGFSM_VIEW_VIEW_PAGE_H_
#define LOGFSM_VIEW_VIEW_PAGE_H_

#include <string>
#include <string_view>

#include "base/status.h"
#include "model/event_log.h"
#include "model/machine_shape.h"
#include "view/assets.h"
#include "view/usage.h"

namespace logfsm {

// The page's data as JSON, safe inside a <script> element ("<", ">", "&",
// U+2028 and U+2029 are escaped):
//   {"model":M,"log":L,
//    "states":[{"name":"A","id":0,"accepting":b,"initial":b,
//               "traces":n,"examples":[lines]}, ...],
//    "transitions":[{"from":0,"to":1,"track":"A","traces":n,
//                    "examples":[lines]}, ...],
//    "runs":[[transition indices], ...],
//    "traces":[{"line":1,"accepted":true,"run":r},
//              {"line":2,"accepted":false,"run":r,"position":p,
//               "reason":"event not allowed","event":e,"allowed":[...],
//               "stops":[state indices],"explanation":"line 2: ..."}, ...],
//    "cases":["case id", ...],
//    "names":["A", ...],
//    "variants":[{"count":n,"lines":[lines],"events":[name indices]}, ...],
//    "accepted":n}
// States and transitions in the shape's order, transitions' ends as state
// indices; a state's name as the model file spells it (s0 for the empty
// name); a rejection in the words of `check --json` with the states it
// stopped in and check's explanation line; the case id of every line
// ("" for a line without one) only when the log has case ids; the log's
// distinct event names and its variants as `usage` orders them, their
// events as indices into "names".
std::string view_data(std::string_view model_name, std::string_view log_name,
                      const machine_shape& shape, const event_log& log,
                      const machine_usage& usage);

// The page: `assets.page` with its markers replaced by the title, the
// style, the data, the libraries and the script.
std::string view_page(const view_assets& assets, std::string_view title,
                      const std::string& data);

// The whole page of `shape` with the traces of `log`: counts their usage
// (keeping up to `examples` lines per state and transition), then the data
// and the page. `title` names the model, `log_name` the log.
std::string make_view_page(const view_assets& assets, std::string_view title,
                           std::string_view log_name, const machine_shape& shape,
                           const event_log& log, std::size_t examples);

// How many example lines a view keeps per state and transition unless told.
inline constexpr std::size_t kDefaultExamples = 20;

}  // namespace logfsm

#endif  // LOGFSM_VIEW_VIEW_PAGE_H_
