// Temporary registry stores for the registry tests.
#include "registry_test_support.h"

#include <cstdlib>
#include <filesystem>

namespace platform::testing {

void FreshRegistry::SetUp() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qmreg-test-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  folder_ = pattern;
  devicePath_ = folder_ + "/device/device-registry.db";
  desktopPath_ = folder_ + "/desktop-registry.db";
  setenv("QM_DEVICE_REGISTRY", devicePath_.c_str(), 1);
  setenv("QM_DESKTOP_REGISTRY", desktopPath_.c_str(), 1);
  RegCloseStores();
  SetDefaultRegStore(RegStore::Desktop);
}

void FreshRegistry::TearDown() {
  RegCloseStores();
  std::error_code ec;
  std::filesystem::remove_all(folder_, ec);
}

}  // namespace platform::testing
