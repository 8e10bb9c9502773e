// Asking a long-running service to stop: SIGTERM and SIGINT turned into a flag.
#pragma once

namespace platform {

// CatchStopSignals: from now on SIGTERM and SIGINT no longer end the process;
// they set the stop flag and wake a LocalListener waiting in Accept. Safe to
// call more than once. Returns 0 or the host's code.
unsigned CatchStopSignals();

// StopSignalled: whether a stop signal has arrived since CatchStopSignals.
bool StopSignalled();

// StopSignalDescriptor: the read end that becomes readable when a stop signal
// arrives (-1 before CatchStopSignals); for the listener's wait only.
int StopSignalDescriptor();

}  // namespace platform
