// Turning one request message of a client into the reply message.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "outside/devicemanager/DeviceTable.h"
#include "platform/DeviceMessage.h"

namespace devicemanager {

// Handled: whether the service goes on after a request.
enum class Handled { Continue, StopRequested };

// HandleRequest: carries out one decoded request on the table. 87 for an
// output size above the message limit.
platform::DeviceReply HandleRequest(DeviceTable& table, const platform::DeviceRequest& request,
                                    uint32_t servicePid);

// HandleMessage: decodes untrusted bytes, carries them out and encodes the
// reply (error 13 for bytes that do not decode, 8 when memory runs out).
// Never throws. `handled` tells whether a Stop was asked for; the caller
// stops after sending the reply.
std::vector<uint8_t> HandleMessage(DeviceTable& table, std::span<const uint8_t> message,
                                   uint32_t servicePid, Handled& handled);

}  // namespace devicemanager
