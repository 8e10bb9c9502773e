// Test fixture: a private home whose device manager is started on demand and stopped after.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "outside/devicemanager/ServiceClient.h"
#include "platform/DeviceManager.h"
#include "platform/Module.h"
#include "platform/tests/TempDevice.h"

namespace devicemanager {

// SuiteBin: the folder of the built programs and modules.
inline std::string SuiteBin() {
  const char* bin = std::getenv("SUITE_BIN");
  return bin ? bin : platform::ProgramFolder() + "/../bin";
}

// InstallDriver: copies a built driver module (by its Windows name, e.g.
// "Secvol.dll") into the device's "\Windows" folder, as an installation would.
inline void InstallDriver(const std::string& deviceRoot, const std::string& dllName) {
  const std::string file = platform::ModuleFileName(dllName);
  std::filesystem::create_directories(deviceRoot + "/Windows");
  std::filesystem::copy_file(SuiteBin() + "/" + file, deviceRoot + "/Windows/" + file,
                             std::filesystem::copy_options::overwrite_existing);
}

// ServiceTest: QM_HOME in a temporary folder, so the service of each test
// has its own socket and registry; the service is stopped in TearDown.
class ServiceTest : public platform::TempDevice {
 protected:
  void SetUp() override {
    TempDevice::SetUp();
    ::unsetenv("QM_DEVICE_MANAGER_SOCKET");
    ::unsetenv("QM_DEVICE_MANAGER_PROGRAM");
    ::unsetenv("QM_DEVICE_REGISTRY");
    ::setenv("QM_DEVICE_OS_VERSION", "4", 1);
  }
  void TearDown() override {
    StopService(platform::DeviceManagerSocketPath());
    TempDevice::TearDown();
  }

  std::string DeviceRoot() const { return home_ + "/device"; }
  std::string Socket() const { return platform::DeviceManagerSocketPath(); }

  // WaitFor: polls a condition for up to thirty seconds (a loaded machine
  // running sanitizer builds is slow; a met condition ends the wait at once).
  template <typename Condition>
  static bool WaitFor(Condition condition) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > until) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }
};

}  // namespace devicemanager
