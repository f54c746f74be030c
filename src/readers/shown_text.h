// Text from a log as one-line messages and notes show it: whatever bytes a
// log holds, the message stays one short line.
#ifndef LOGFSM_READERS_SHOWN_TEXT_H_
#define LOGFSM_READERS_SHOWN_TEXT_H_

#include <string>
#include <string_view>

namespace logfsm {

// `text` with LF, CR and tab written \n, \r and \t and every other control
// byte \xHH, cut after 40 bytes (at a UTF-8 character boundary) with "...".
std::string shown(std::string_view text);

}  // namespace logfsm

#endif  // LOGFSM_READERS_SHOWN_TEXT_H_
