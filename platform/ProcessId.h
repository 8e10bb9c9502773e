// The running process's number, as GetCurrentProcessId gives it.
#pragma once

#include <cstdint>

namespace platform {

// CurrentProcessId: the host's id of the calling process.
uint32_t CurrentProcessId();

}  // namespace platform
