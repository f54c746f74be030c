// XES event logs (IEEE 1849), plain or gzip-compressed, read as a stream.
//
// A trace is each <trace> element of the <log>; traces and events stay in
// document order. An event's name is the value of its concept:name attribute
// (an attribute element of any type that is a direct child of <event>), or
// the <global scope="event"> default for that key; events with no name are
// left out and counted in a note. Tags may carry a namespace prefix;
// attribute elements nested inside other attributes are ignored.
#ifndef LOGFSM_READERS_XES_LOG_H_
#define LOGFSM_READERS_XES_LOG_H_

#include "readers/log_source.h"

namespace logfsm {

// Uses options.classifier, options.lifecycle, options.sort_by_time and
// options.timestamp_format. Fails with bad_log "line L, column C: what" for
// XML that is not well-formed or a document that is not an XES log, or
// "this build reads no XES files" when built without expat.
status read_xes_log(input_file& in, const read_options& options, event_log& log,
                    read_notes& notes);

}  // namespace logfsm

#endif  // LOGFSM_READERS_XES_LOG_H_
