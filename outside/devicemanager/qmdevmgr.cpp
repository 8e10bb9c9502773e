// qmdevmgr: the device-manager service that hosts stream drivers, and its controls.
#include <CLI/CLI.hpp>
#include <cstdio>

#include "outside/devicemanager/DeviceTable.h"
#include "outside/devicemanager/DriverKey.h"
#include "outside/devicemanager/ModuleDriver.h"
#include "outside/devicemanager/Service.h"
#include "outside/devicemanager/ServiceClient.h"
#include "platform/DeviceManager.h"
#include "platform/Errors.h"
#include "platform/ProcessId.h"
#include "platform/Text.h"

namespace {

int Status(const std::string& socket) {
  std::vector<platform::DeviceStatusEntry> devices;
  uint32_t pid = 0;
  const uint32_t rc = devicemanager::ServiceStatus(socket, devices, pid);
  if (rc == platform::ERROR_FILE_NOT_FOUND) {
    std::printf("no device manager is running on %s\n", socket.c_str());
    return 1;
  }
  if (rc != 0) {
    std::fprintf(stderr, "qmdevmgr: status failed: %u (%s)\n", rc, platform::ErrorText(rc));
    return 2;
  }
  std::printf("device manager %u on %s: %zu device(s)\n", pid, socket.c_str(), devices.size());
  for (const auto& d : devices)
    std::printf("%-6s %10u  %s\n", platform::Utf16ToUtf8(d.name).c_str(), d.handle,
                d.driverFile.c_str());
  return 0;
}

int Stop(const std::string& socket) {
  const uint32_t rc = devicemanager::StopService(socket);
  if (rc == platform::ERROR_FILE_NOT_FOUND) {
    std::printf("no device manager is running on %s\n", socket.c_str());
    return 0;
  }
  if (rc != 0) {
    std::fprintf(stderr, "qmdevmgr: stop failed: %u (%s)\n", rc, platform::ErrorText(rc));
    return 2;
  }
  std::printf("device manager stopped\n");
  return 0;
}

int Serve(const std::string& socket, devicemanager::ServiceLifetime lifetime) {
  devicemanager::DeviceTable table(devicemanager::LoadModuleDriver, devicemanager::ReadDriverKey,
                                   devicemanager::FirstHandleForThisRun());
  const uint32_t rc =
      devicemanager::RunService(socket, table, platform::CurrentProcessId(), lifetime);
  if (rc == platform::ERROR_ALREADY_EXISTS) {
    std::fprintf(stderr, "qmdevmgr: a device manager already serves %s\n", socket.c_str());
    return 1;
  }
  if (rc != 0) {
    std::fprintf(stderr, "qmdevmgr: cannot listen on %s: %u (%s)\n", socket.c_str(), rc,
                 platform::ErrorText(rc));
    return 2;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Device manager: loads the handheld's stream drivers and serves their devices "
      "(runs in the foreground until stopped)."};
  bool stop = false;
  bool status = false;
  bool onDemand = false;
  auto* stopOption = app.add_flag("--stop", stop, "ask the running device manager to stop");
  app.add_flag("--status", status, "list the loaded devices (name, handle, driver file)")
      ->excludes(stopOption);
  app.add_flag("--on-demand", onDemand,
               "as started by a client call: also end after a few idle seconds with no device "
               "loaded");
  CLI11_PARSE(app, argc, argv);
  const std::string socket = platform::DeviceManagerSocketPath();
  if (stop) return Stop(socket);
  if (status) return Status(socket);
  return Serve(socket, onDemand ? devicemanager::ServiceLifetime::WhileInUse
                                : devicemanager::ServiceLifetime::UntilStopped);
}
