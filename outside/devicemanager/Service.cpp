// The service loop over the local listener.
#include "outside/devicemanager/Service.h"

#include <chrono>
#include <thread>
#include <vector>

#include "outside/devicemanager/RequestHandler.h"
#include "platform/Errors.h"
#include "platform/LocalChannel.h"
#include "platform/StopSignal.h"

namespace devicemanager {
namespace {

// A client gets this long to send its request and take the reply; one that
// stalls must not hold every other client off for ever.
constexpr uint32_t kClientTimeoutMs = 5000;
// How often an idle service checks that its socket file is still there.
constexpr int kBoundCheckMs = 1000;
// How long a service started on demand waits for an ending one's lock.
constexpr int kTakeOverMs = 2000;
// The pause after an accept that failed (no descriptor free, say).
constexpr int kFailedAcceptPauseMs = 100;

}  // namespace

uint32_t RunService(const std::string& socketPath, DeviceTable& table, uint32_t servicePid,
                    ServiceLifetime lifetime) {
  platform::CatchStopSignals();
  platform::LocalListener listener;
  uint32_t rc = listener.Listen(socketPath);
  // A service started on demand may follow one that has just ended when
  // idle: that one removes its socket before it lets go of the lock.
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTakeOverMs);
  while (rc == platform::ERROR_ALREADY_EXISTS && lifetime == ServiceLifetime::WhileInUse &&
         std::chrono::steady_clock::now() < until && !platform::StopSignalled()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    rc = listener.Listen(socketPath);
  }
  if (rc != 0) return rc;
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
    if (accepted == platform::AcceptResult::Stopped) break;
    if (accepted == platform::AcceptResult::Failed) {
      // Out of descriptors or memory for a moment: ending would unmount every
      // folder, so wait and go on (while anyone can still reach it).
      if (!listener.StillBound()) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(kFailedAcceptPauseMs));
      continue;
    }
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
