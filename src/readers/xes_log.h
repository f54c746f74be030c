// XES event logs (IEEE 1849), plain or gzip-compressed, read as a stream:
// memory holds the log read, one trace's events while they wait to be
// ordered, and one piece of markup, never the document.
//
// A trace is each <trace> child of the <log>; traces and events stay in
// document order. An event is each <event> child of a trace; its name is the
// value of its concept:name attribute (an attribute element of any type,
// with a key and a value, that is a direct child of <event>), or the
// <global scope="event"> default for that key (a <global> without a scope
// is of event scope). Tags may carry a namespace prefix (local names are
// compared); attribute elements nested inside other attributes, and events
// outside traces, are ignored. Names are the UTF-8 bytes of the values.
//
// A trace's case id is the value of its own concept:name attribute (a
// direct child of <trace>), else it has none. An event's time is its
// time:timestamp (own, else the event global default) read with
// options.timestamp_format; one that is missing or does not parse gives no
// time.
#ifndef LOGFSM_READERS_XES_LOG_H_
#define LOGFSM_READERS_XES_LOG_H_

#include "readers/log_source.h"

namespace logfsm {

// Reads the log with these options:
// - classifier: the name is the keys' values joined with "+", each the
//   event's own, else the global default, else empty; an event with none
//   of them has no name.
// - lifecycle: events whose lifecycle:transition (own, else default) is
//   none of these (ASCII case ignored) are left out; events without one
//   are kept.
// - sort_by_time: each trace ordered by the readers' one policy
//   (readers/time_order.h): sorted stably by time when every kept event of
//   it has a time, otherwise kept in document order.
// Notes count the events left out for another lifecycle transition, those
// left out without a name, and the traces kept in file order, with the
// first place ("trace T, event E", both from 1, E counting the trace's
// <event> elements; for the order, then the timestamp as quoted text or "no
// time:timestamp").
//
// Fails with bad_log "line L, column C: what" for XML that is not
// well-formed (expat's words; "no element found" for an empty file), a
// root element other than log, elements nested over 10000 deep, or one tag,
// comment or declaration over 16 MiB; with in.error() when reading fails;
// or with "this build reads no XES files" when built without expat.
status read_xes_log(input_file& in, const read_options& options, event_log& log,
                    read_notes& notes);

// True when this build reads XES files.
bool reads_xes();

}  // namespace logfsm

#endif  // LOGFSM_READERS_XES_LOG_H_
