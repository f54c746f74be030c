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
// - sort_by_time: each trace's events ordered stably by time:timestamp
//   (own, else default) read with timestamp_format; those without one
//   that parses keep their order at the end of the trace.
// Notes count the events left out for another lifecycle transition, those
// left out without a name, and those placed at the end, with the first
// place ("trace T, event E", both from 1, E counting the trace's <event>
// elements).
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
