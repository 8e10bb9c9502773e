// The service loop over the local listener.
#include "outside/devicemanager/Service.h"

#include <chrono>
#include <vector>

#include "outside/devicemanager/RequestHandler.h"
#include "platform/LocalChannel.h"
#include "platform/StopSignal.h"

namespace devicemanager {
namespace {

// A client gets this long to send its request and take the reply; one that
// stalls must not hold every other client off for ever.
constexpr uint32_t kClientTimeoutMs = 5000;
// How often an idle service checks that its socket file is still there.
constexpr int kBoundCheckMs = 1000;

}  // namespace

uint32_t RunService(const std::string& socketPath, DeviceTable& table, uint32_t servicePid,
                    ServiceLifetime lifetime) {
  platform::CatchStopSignals();
  platform::LocalListener listener;
  if (const uint32_t rc = listener.Listen(socketPath)) return rc;
  std::vector<uint8_t> message;
  auto lastUse = std::chrono::steady_clock::now();
  for (;;) {
    platform::LocalConnection client;
    const platform::AcceptResult accepted = listener.Accept(client, kBoundCheckMs);
    if (accepted == platform::AcceptResult::TimedOut) {
      // Nobody can reach a service whose socket file was removed (its home
      // deleted, say): it ends instead of lingering.
      if (!listener.StillBound()) break;
      const bool idle = table.size() == 0 && std::chrono::steady_clock::now() - lastUse >=
                                                 std::chrono::seconds(kIdleExitSeconds);
      if (lifetime == ServiceLifetime::WhileInUse && idle) break;
      continue;
    }
    if (accepted != platform::AcceptResult::Connection) break;
    lastUse = std::chrono::steady_clock::now();
    client.SetTimeout(kClientTimeoutMs);
    // A client that disconnects or sends garbage framing is simply dropped.
    if (client.Receive(message) != 0) continue;
    Handled handled;
    const std::vector<uint8_t> reply = HandleMessage(table, message, servicePid, handled);
    if (handled == Handled::StopRequested) {
      table.UnloadAll();
      listener.Close();
      client.Send(reply);
      return 0;
    }
    client.Send(reply);
  }
  table.UnloadAll();
  listener.Close();
  return 0;
}

}  // namespace devicemanager
