// Direct requests to a running service.
#include "outside/devicemanager/ServiceClient.h"

#include "platform/Errors.h"
#include "platform/LocalChannel.h"

namespace devicemanager {

uint32_t AskService(const std::string& socketPath, const platform::DeviceRequest& request,
                    platform::DeviceReply& reply) {
  platform::LocalConnection c;
  c.SetTimeout(30000);
  if (const uint32_t rc = c.Connect(socketPath)) return rc;
  std::vector<uint8_t> bytes = platform::EncodeRequest(request);
  if (const uint32_t rc = c.Send(bytes)) return rc;
  if (const uint32_t rc = c.Receive(bytes)) return rc;
  return platform::DecodeReply(bytes, reply);
}

uint32_t ServiceStatus(const std::string& socketPath,
                       std::vector<platform::DeviceStatusEntry>& devices, uint32_t& pid) {
  devices.clear();
  pid = 0;
  platform::DeviceRequest request;
  request.op = platform::DeviceOp::Status;
  platform::DeviceReply reply;
  if (const uint32_t rc = AskService(socketPath, request, reply)) return rc;
  if (reply.error) return reply.error;
  pid = reply.value;
  return platform::DecodeStatus(reply.data, devices);
}

uint32_t StopService(const std::string& socketPath) {
  platform::DeviceRequest request;
  request.op = platform::DeviceOp::Stop;
  platform::DeviceReply reply;
  if (const uint32_t rc = AskService(socketPath, request, reply)) return rc;
  return reply.error;
}

}  // namespace devicemanager
