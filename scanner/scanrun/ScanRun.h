// Starting, pausing, resuming and stopping a scan run.
#pragma once

#include "scanner/scanrun/Scanner.h"

namespace scanner {

// StartScan: from Idle only. Reads the battery afresh; below 20 % (and
// known) asks "Battery power is lower then 20%. Do you want to perform
// scan?" with Yes and No. Returns -1 when not Idle, when the last run's
// worker is still delivering its final state message, or when not answered
// Yes; otherwise starts the worker and returns 0. The worker sends (Running,
// Idle), empties the list, zeroes the counters, walks the files and then
// the databases (flag 0x40), adds the finish row, writes the report and
// sends (Idle, Running).
int StartScan(Scanner& scanner);

// PauseScan: Running only: resets pauseEvent, gives the worker pauseWaitMs
// to reach its wait point and sends (Paused, Running). Returns 1 when the
// state changed, else 0.
int PauseScan(Scanner& scanner);

// ResumeScan: Paused only: sets pauseEvent and sends (Running, Paused).
// Returns 1 when the state changed, else 0.
int ResumeScan(Scanner& scanner);

// StopScan: ends a run that is Running or Paused: Stopping, a pause, then
// the worker is released from its wait point with a stop request and
// unwinds; this thread waits for it (serving the observers'
// OnWaitForWorker meanwhile) and joins it, records the finish time, adds
// "Finished at", writes the report and sends (Idle, Running). Returns 0
// when the scanner was Idle, else 1. Called from inside an observer or the
// detection dialog (the worker itself), it only requests the stop and the
// worker finishes the run on its way out; called while another stop is
// under way, it returns once the run is Idle.
int StopScan(Scanner& scanner);

// JoinWorker: waits until the worker has returned, serving the observers'
// OnWaitForWorker meanwhile, and joins it. Nothing when there is no worker
// or when called by the worker itself.
void JoinWorker(Scanner& scanner);

}  // namespace scanner
