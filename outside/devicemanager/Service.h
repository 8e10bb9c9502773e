// The device-manager service's loop: accept, handle one request, reply.
#pragma once

#include <cstdint>
#include <string>

#include "outside/devicemanager/DeviceTable.h"

namespace devicemanager {

// ServiceLifetime: a service started by hand runs until stopped; one started
// on demand by a client call also ends once it has held no device and seen no
// request for kIdleExitSeconds (it has no state then, and the next call starts
// another).
enum class ServiceLifetime { UntilStopped, WhileInUse };
inline constexpr int kIdleExitSeconds = 5;

// RunService: serves clients on the socket at `socketPath` until a Stop
// request or a stop signal, one request per connection and one at a time.
// On the way out every driver is unloaded and the socket file removed (before
// the Stop request is answered, so that its sender finds it gone). A failed
// accept (descriptors running out) pauses rather than ends the service, which
// would unmount every folder. Returns 0; 183 when another service already
// listens there (one started on demand first waits up to two seconds for an
// ending service to let go); else the host's code from listening.
uint32_t RunService(const std::string& socketPath, DeviceTable& table, uint32_t servicePid,
                    ServiceLifetime lifetime = ServiceLifetime::UntilStopped);

}  // namespace devicemanager
