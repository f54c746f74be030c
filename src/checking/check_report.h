// The reports of `logfsm check`: a text report for people and a JSON
// report for programs, and the words of one rejection that every report of
// rejections uses (the view's data, the Python module). Event names are
// quoted and escaped as the JSON writer escapes them (output/state_text.h),
// so every rejected trace takes exactly one line of text whatever bytes its
// names hold, and the JSON report is valid JSON (and valid UTF-8) for any
// log.
#ifndef LOGFSM_CHECKING_CHECK_REPORT_H_
#define LOGFSM_CHECKING_CHECK_REPORT_H_

#include <ostream>
#include <string>
#include <string_view>

#include "checking/replay.h"
#include "output/json_text.h"

namespace logfsm {

// How the JSON reports name a rejection: "event not allowed" or
// "non-accepting end".
std::string_view reason_text(rejection_reason reason);

// The explanation of one rejected trace, one line without its end:
//   line 7: event 3 "pay" is not allowed after "order" "pack"; allowed: "cancel", "ship"
//   line 8: ends in a non-accepting state after ... "a" "b" "c"; allowed: none
//   line 9: event 1 "x" is not allowed at the start; allowed: "a"
//   line 10: the empty trace ends in a non-accepting state; allowed: "a"
// At most kContextEvents earlier events are quoted, "..." standing for the
// rest.
std::string rejection_line(const rejected_trace& r);

// The members of a rejection in a JSON object (after its "line"):
//   "position":3,"reason":"event not allowed","event":"pay","allowed":["cancel","ship"]
// A non-accepting end has "event":null and as "position" the number of
// events of the trace.
void add_rejection_members(json_text& json, const rejected_trace& r);

// One rejection_line per rejected trace, then a summary line:
//   accepted 7 of 10 traces (70.0%)
// The share is rounded down, so 100.0% means every trace; an empty log
// reads "accepted 0 of 0 traces".
void write_text_report(std::ostream& out, const check_result& result);

// One JSON object, each rejected trace on a line of its own:
//   {"model":"m.json","log":"l.txt","traces":10,"accepted":9,"rejected":[
//   {"line":7,"position":3,"reason":"event not allowed","event":"pay","allowed":["cancel","ship"]}
//   ]}
void write_json_report(std::ostream& out, const check_result& result,
                       std::string_view model_name, std::string_view log_name);

}  // namespace logfsm

#endif  // LOGFSM_CHECKING_CHECK_REPORT_H_
