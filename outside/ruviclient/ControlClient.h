// The control centre's side of the stand-in's socket: one request to a running task.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ruviclient {

// SendControlRequest: connects to the task listening at `socketPath`, sends
// `request` ("ping", "start", "stop", "pause", "resume") and stores the reply
// ("1" done, "0" refused, "none", "ready", "bad"). A stop waits for the
// task's fetch to end, hence the generous time-out. Returns 0, or the Win32
// code: 2 when no task listens there, 1460 when the reply does not come in
// time, 109 when the task went away meanwhile.
uint32_t SendControlRequest(const std::string& socketPath, std::string_view request,
                            std::string& reply, uint32_t timeoutMs = 30000);

}  // namespace ruviclient
