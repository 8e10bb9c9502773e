// Asking a long-running service to stop: SIGTERM and SIGINT turned into a flag.
#pragma once

namespace platform {

// CatchStopSignals: from now on SIGTERM and SIGINT no longer end the process;
// they set the stop flag and wake a LocalListener waiting in Accept. Safe to
// call more than once. Returns 0 or the host's code.
unsigned CatchStopSignals();

// IgnoreBrokenPipe: from now on a write to a pipe whose reader has gone
// fails with an error instead of ending the process, so a front-end piped
// into a pager still finishes its work. Returns 0 or the host's code.
unsigned IgnoreBrokenPipe();

// StopSignalled: whether a stop signal has arrived since CatchStopSignals.
bool StopSignalled();

// StopSignalCount: how many stop signals arrived since CatchStopSignals,
// SIGINT counting one and SIGTERM two (it asks for an end now), so that a
// second Ctrl-C can mean more than the first.
int StopSignalCount();

// StopSignalDescriptor: the read end that becomes readable when a stop signal
// arrives (-1 before CatchStopSignals); for the listener's wait only.
int StopSignalDescriptor();

}  // namespace platform
