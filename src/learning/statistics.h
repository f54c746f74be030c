// The statistics gathered from every trace before the machine is learned.
#ifndef LOGFSM_LEARNING_STATISTICS_H_
#define LOGFSM_LEARNING_STATISTICS_H_

#include "model/fsm_builder.h"

namespace logfsm {

// Adds to successor_pairs every pair of adjacent events of `t` with different
// names, unless an equally named pair is stored (which keeps its objects).
void collect_pairs(fsm_builder& builder, const trace& t);

// Adds to observed_windows the window of every start position of `t` (none
// when t has fewer than k events): the events from that position on, each
// run of equally named neighbours collapsed to its last event, cut to k
// events. Near the end of a trace with repetitions a window may be shorter.
void collect_windows(fsm_builder& builder, const trace& t);

}  // namespace logfsm

#endif  // LOGFSM_LEARNING_STATISTICS_H_
