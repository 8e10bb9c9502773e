// How another process asks a running zepscan to stop: the named event "ZEPSCANSTOP".
#pragma once

#include <cstdint>

#include "platform/NamedEvent.h"

namespace zepscan {

// kStopEventName: a manual-reset event that the scanning process creates
// (not signalled) and watches; `zepscan stop` sets it.
inline constexpr char kStopEventName[] = "ZEPSCANSTOP";

// StopRequest: the scanning process's side of the stop event.
class StopRequest {
 public:
  // Create: creates the event, not signalled. Returns 0;
  // ERROR_ALREADY_EXISTS (183) when another process holds it, which means
  // another scan runs (this object then holds nothing); or another Win32
  // code. An event left by a process that died is made afresh.
  uint32_t Create();

  // Wait: waits up to timeoutMs for a stop request; true when one came.
  bool Wait(uint32_t timeoutMs) const;

 private:
  platform::Event event_;
};

// RequestStop: sets the stop event of the scan running under this QM_HOME.
// Returns 0, or ERROR_FILE_NOT_FOUND (2) when no scan is running.
uint32_t RequestStop();

// ScanIsRunning: whether a zepscan process under this QM_HOME is scanning.
bool ScanIsRunning();

}  // namespace zepscan
