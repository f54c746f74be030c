#include "frontend/terminal.h"

#ifdef _WIN32
#include <io.h>
#define LOGFSM_ISATTY _isatty
#else
#include <unistd.h>
#define LOGFSM_ISATTY isatty
#endif

namespace logfsm {

bool stderr_is_terminal() { return LOGFSM_ISATTY(2) != 0; }

}  // namespace logfsm
