// Asking a running service directly, without starting one (status, stop).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DeviceMessage.h"

namespace devicemanager {

// AskService: one request to the service at `socketPath`. Returns 0 with the
// reply, 2 when no service listens there, or the code of a failed exchange.
uint32_t AskService(const std::string& socketPath, const platform::DeviceRequest& request,
                    platform::DeviceReply& reply);

// ServiceStatus: the loaded devices and the service's process id.
uint32_t ServiceStatus(const std::string& socketPath,
                       std::vector<platform::DeviceStatusEntry>& devices, uint32_t& pid);

// StopService: asks the service to stop; when this returns 0 the service has
// unloaded its drivers and removed its socket file.
uint32_t StopService(const std::string& socketPath);

}  // namespace devicemanager
