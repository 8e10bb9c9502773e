// Temporary registry stores for the registry tests.
#include "registry_test_support.h"

#include <cstdlib>

namespace platform::testing {

void FreshRegistry::SetUp() {
  folder_ = temp_.path();
  devicePath_ = folder_ + "/device/device-registry.db";
  desktopPath_ = folder_ + "/desktop-registry.db";
  setenv("QM_DEVICE_REGISTRY", devicePath_.c_str(), 1);
  setenv("QM_DESKTOP_REGISTRY", desktopPath_.c_str(), 1);
  RegCloseStores();
  SetDefaultRegStore(RegStore::Desktop);
}

void FreshRegistry::TearDown() {
  RegCloseStores();
}

}  // namespace platform::testing
