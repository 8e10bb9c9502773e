// Test seams of the password change: progress observation and the free-space query.
#pragma once

#include <cstdint>

#include "platform/FilePath.h"

namespace folders {

// PasswordChangeHooks: for tests and test tools only; the program never sets
// them. A null member leaves the normal behaviour.
struct PasswordChangeHooks {
  // sectorsWritten: called each time a run of re-enciphered sectors has been
  // written to the new copy, with the number written so far; the last call
  // (all sectors) comes before the copy replaces the container. A test tool
  // may end its process here to model an interruption.
  void (*sectorsWritten)(uint32_t count) = nullptr;
  // freeSpace: stands in for the free-space query of the container's volume;
  // returns 0 with the bytes free to the caller, or a Win32 code.
  uint32_t (*freeSpace)(const platform::FilePath& container, uint64_t& bytesFree) = nullptr;
};

// SetPasswordChangeHooks: replaces the hooks of every later change in this
// process (pass {} to restore the normal behaviour). Not synchronised: set it
// while no change runs.
void SetPasswordChangeHooks(const PasswordChangeHooks& hooks);

}  // namespace folders
