#include "view/assets.h"

#ifdef LOGFSM_VIEW_LIBRARIES

// Each file is included by the assembler (.incbin) between two symbols, so
// building does not turn megabytes into C++ source. The paths come from
// the build (src/CMakeLists.txt), which also makes this file depend on them.
#ifdef _WIN32
#define LOGFSM_READ_ONLY_SECTION ".section .rdata,\"dr\"\n"
#else
#define LOGFSM_READ_ONLY_SECTION ".section .rodata\n"
#endif
#define LOGFSM_EMBED(symbol, path)                                                     \
  asm(LOGFSM_READ_ONLY_SECTION ".global " #symbol "\n" #symbol ":\n.incbin \"" path \
      "\"\n.global " #symbol "_end\n" #symbol "_end:\n.byte 0\n.text\n");             \
  extern "C" const char symbol[];                                                      \
  extern "C" const char symbol##_end[];

LOGFSM_EMBED(logfsm_view_page, LOGFSM_VIEW_PAGE)
LOGFSM_EMBED(logfsm_view_style, LOGFSM_VIEW_STYLE)
LOGFSM_EMBED(logfsm_view_graphs, LOGFSM_VIEW_GRAPHS)
LOGFSM_EMBED(logfsm_view_dot, LOGFSM_VIEW_DOT)
LOGFSM_EMBED(logfsm_view_export, LOGFSM_VIEW_EXPORT)
LOGFSM_EMBED(logfsm_view_script, LOGFSM_VIEW_SCRIPT)
LOGFSM_EMBED(logfsm_view_layout, LOGFSM_VIEW_LAYOUT)
LOGFSM_EMBED(logfsm_view_pan_zoom, LOGFSM_VIEW_PAN_ZOOM)

namespace logfsm {
namespace {

std::string_view between(const char* begin, const char* end) {
  return std::string_view(begin, static_cast<std::size_t>(end - begin));
}

}  // namespace

const view_assets* embedded_view_assets() {
  static const view_assets assets{
      between(logfsm_view_page, logfsm_view_page_end),
      between(logfsm_view_style, logfsm_view_style_end),
      {between(logfsm_view_graphs, logfsm_view_graphs_end),
       between(logfsm_view_dot, logfsm_view_dot_end),
       between(logfsm_view_export, logfsm_view_export_end),
       between(logfsm_view_script, logfsm_view_script_end)},
      between(logfsm_view_layout, logfsm_view_layout_end),
      between(logfsm_view_pan_zoom, logfsm_view_pan_zoom_end),
  };
  return &assets;
}

}  // namespace logfsm

#else  // !LOGFSM_VIEW_LIBRARIES

namespace logfsm {

const view_assets* embedded_view_assets() { return nullptr; }

}  // namespace logfsm

#endif  // LOGFSM_VIEW_LIBRARIES
