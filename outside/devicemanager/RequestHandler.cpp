// The request dispatch of the device-manager service.
#include "outside/devicemanager/RequestHandler.h"

#include <new>

#include "platform/Errors.h"

namespace devicemanager {

using platform::DeviceOp;
using platform::DeviceReply;
using platform::DeviceRequest;

DeviceReply HandleRequest(DeviceTable& table, const DeviceRequest& request, uint32_t servicePid) {
  DeviceReply reply;
  switch (request.op) {
    case DeviceOp::Register:
      reply.error =
          table.Register(request.name, request.args[0], request.file, request.data, reply.value);
      break;
    case DeviceOp::Activate:
      reply.error = table.Activate(request.name, request.data, reply.value);
      break;
    case DeviceOp::Deregister:
      reply.error = table.Deregister(request.args[0]);
      break;
    case DeviceOp::Open:
      reply.error = table.Open(request.name, request.args[0], request.args[1], reply.value);
      break;
    case DeviceOp::IoControl: {
      if (request.args[2] > platform::kMaxDeviceData) {
        reply.error = platform::ERROR_INVALID_PARAMETER;
        break;
      }
      reply.data = request.data;
      reply.output.assign(request.args[2], 0);
      reply.error =
          table.IoControl(request.args[0], request.args[1], reply.data, reply.output, reply.value);
      break;
    }
    case DeviceOp::Close:
      reply.error = table.Close(request.args[0]);
      break;
    case DeviceOp::Status:
      reply.value = servicePid;
      reply.data = platform::EncodeStatus(table.Status());
      break;
    case DeviceOp::Stop:
    case DeviceOp::_count:
      break;
  }
  return reply;
}

std::vector<uint8_t> HandleMessage(DeviceTable& table, std::span<const uint8_t> message,
                                   uint32_t servicePid, Handled& handled) {
  handled = Handled::Continue;
  try {
    DeviceRequest request;
    DeviceReply reply;
    if (const uint32_t rc = platform::DecodeRequest(message, request)) {
      reply.error = rc;
    } else {
      reply = HandleRequest(table, request, servicePid);
      if (request.op == DeviceOp::Stop) handled = Handled::StopRequested;
    }
    return platform::EncodeReply(reply);
  } catch (const std::bad_alloc&) {
    DeviceReply reply;
    reply.error = platform::ERROR_NOT_ENOUGH_MEMORY;
    return platform::EncodeReply(reply);
  }
}

}  // namespace devicemanager
