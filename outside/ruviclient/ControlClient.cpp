// One request and its reply over the stand-in's socket.
#include "outside/ruviclient/ControlClient.h"

#include <vector>

#include "platform/LocalChannel.h"

namespace ruviclient {

uint32_t SendControlRequest(const std::string& socketPath, std::string_view request,
                            std::string& reply, uint32_t timeoutMs) {
  platform::LocalConnection connection;
  connection.SetTimeout(timeoutMs);
  if (const uint32_t rc = connection.Connect(socketPath)) return rc;
  if (const uint32_t rc =
          connection.Send({reinterpret_cast<const uint8_t*>(request.data()), request.size()}))
    return rc;
  std::vector<uint8_t> answer;
  if (const uint32_t rc = connection.Receive(answer, 64)) return rc;
  reply.assign(answer.begin(), answer.end());
  return 0;
}

}  // namespace ruviclient
