// The HTML view of a machine: one self-contained page that draws the
// machine in the browser (Graphviz compiled to WebAssembly) with how many
// traces of a log use each state and transition.
#ifndef LOGFSM_VIEW_VIEW_PAGE_H_
#define LOGFSM_VIEW_VIEW_PAGE_H_

#include <string>
#include <string_view>

#include "base/status.h"
#include "checking/model_file.h"
#include "view/assets.h"
#include "view/usage.h"

namespace logfsm {

// The page's data as JSON, safe inside a <script> element ("<", ">", "&",
// U+2028 and U+2029 are escaped):
//   {"model":M,"log":L,
//    "states":[{"id":"A(0)","name":"A","accepting":b,"initial":b,
//               "traces":n,"examples":[lines]}, ...],
//    "transitions":[{"from":"s0(-1)","to":"A(0)","track":"A","traces":n,
//                    "examples":[lines]}, ...],
//    "runs":[[transition indices], ...],
//    "traces":[{"line":1,"accepted":true,"run":r},
//              {"line":2,"accepted":false,"run":r,"reason":"event"|"end",
//               "position":p,"event":e,"before":[...],"allowed":[...]}, ...],
//    "accepted":n}
// States and transitions in the model's order, names as the model file
// spells them (bytes that are not UTF-8 as \u00XX).
std::string view_data(std::string_view model_name, std::string_view log_name,
                      const model_file& model, const machine_usage& usage);

// The page: `assets.page` with its markers replaced by the title, the
// style, the data, the libraries and the script.
std::string view_page(const view_assets& assets, std::string_view title,
                      const std::string& data);

// The whole page of `model` with the traces of `log`: counts their usage
// (keeping up to `examples` lines per state and transition), then the data
// and the page. `title` names the model, `log_name` the log.
std::string make_view_page(const view_assets& assets, std::string_view title,
                           std::string_view log_name, const model_file& model,
                           const event_log& log, std::size_t examples);

// How many example lines a view keeps per state and transition unless told.
inline constexpr std::size_t kDefaultExamples = 20;

}  // namespace logfsm

#endif  // LOGFSM_VIEW_VIEW_PAGE_H_
