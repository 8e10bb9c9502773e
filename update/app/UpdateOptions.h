// The downloader's limits and clock, which tests shorten and fix, and what a run came to.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Internet.h"

namespace update {

// UpdateOptions: everything a run takes that is not in the settings record.
struct UpdateOptions {
  // fetchLimitMs: the longest a run waits for its fetch thread.
  uint32_t fetchLimitMs = 120000;
  // startWaits × startWaitMs: how long a control-centre task waits for its
  // start command.
  uint32_t startWaits = 10;
  uint32_t startWaitMs = 1000;
  // stopWaitMs: how long the stop command waits for the fetch to end.
  uint32_t stopWaitMs = 10000;
  // now: the current time in seconds since 1970-01-01 UTC; the system clock
  // when empty.
  std::function<int64_t()> now;
  // limits: how long a silent server is waited for.
  platform::InternetLimits limits = {};
};

// CurrentTime: options.now() when set, else the system clock.
int64_t CurrentTime(const UpdateOptions& options);

// RunOutcome: how a run ended.
enum class RunOutcome {
  Complete,    // every listed file arrived and became current
  Incomplete,  // some file did not arrive; nothing was promoted
  Cancelled,   // the user cancelled: nothing written
  NoAddress,   // no update address: message 204, nothing written
  NoLibrary,   // the control centre's library is missing or incomplete
};

}  // namespace update
