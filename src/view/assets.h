// The files of the HTML view, embedded in the program at build time: the
// page's own (src/view/page/) and the two browser libraries that
// tools/install-deps fetches (third_party/web/).
#ifndef LOGFSM_VIEW_ASSETS_H_
#define LOGFSM_VIEW_ASSETS_H_

#include <string_view>
#include <vector>

namespace logfsm {

struct view_assets {
  std::string_view page;      // view.html, with its markers
  std::string_view style;     // view.css
  // graphs.js, dot.js, export.js and view.js, in this order: one script.
  std::vector<std::string_view> scripts;
  std::string_view layout;    // Graphviz compiled to WebAssembly (viz-global.js)
  std::string_view pan_zoom;  // svg-pan-zoom.min.js
};

// The embedded files, or null in a build made without the libraries.
const view_assets* embedded_view_assets();

}  // namespace logfsm

#endif  // LOGFSM_VIEW_ASSETS_H_
