// The private-handheld fixture of the folder tests.
#include "folders/volumes/tests/FolderDeviceTest.h"

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "folders/container/Container.h"
#include "folders/volumes/VolumeList.h"
#include "platform/CaseLookup.h"
#include "platform/DeviceManager.h"
#include "platform/DevicePath.h"
#include "platform/MountTable.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/Text.h"

namespace folders::testing {

namespace fs = std::filesystem;

void FolderDeviceTest::SetUp() {
  const char* bin = std::getenv("SUITE_BIN");
  ASSERT_NE(bin, nullptr) << "SUITE_BIN names the build's bin folder";
  bin_ = bin;
  const std::string home = folder_.path();
  ::setenv("QM_HOME", home.c_str(), 1);
  ::setenv("QM_DEVICE_ROOT", (home + "/device").c_str(), 1);
  ::setenv("QM_DEVICE_MOUNTS", (home + "/device-mounts.conf").c_str(), 1);
  ::setenv("QM_DRIVE_C", (home + "/drive_c").c_str(), 1);
  ::setenv("QM_MODULE_PATH", bin_.c_str(), 1);
  ::setenv("QM_DEVICE_MANAGER_PROGRAM", (bin_ + "/qmdevmgr").c_str(), 1);
  ::unsetenv("QM_DEVICE_REGISTRY");
  ::unsetenv("QM_DEVICE_MANAGER_SOCKET");
  UseVersion(4);
  fs::create_directories(home + "/device/My Documents");
  fs::create_directories(home + "/device/Windows");
  fs::copy_file(bin_ + "/Secvol.so", home + "/device/Windows/Secvol.so");
  platform::RegCloseStores();
  platform::ResetDeviceMounts();
  platform::ForgetCaseLookups();
}

void FolderDeviceTest::TearDown() {
  StopService();
  platform::RegCloseStores();
  platform::ResetDeviceMounts();
  platform::ForgetCaseLookups();
}

void FolderDeviceTest::UseVersion(uint32_t major) {
  ::setenv("QM_DEVICE_OS_VERSION", std::to_string(major).c_str(), 1);
}

void FolderDeviceTest::RemoveDriver() {
  fs::remove(folder_.path() + "/device/Windows/Secvol.so");
  platform::ForgetCaseLookups();
}

void FolderDeviceTest::UseScriptedDriver(std::string_view script) {
  const std::string driver = folder_.path() + "/device/Windows/Secvol.so";
  fs::remove(driver);
  fs::copy_file(bin_ + "/ScriptedFolderDriver.so", driver);
  std::ofstream(folder_.path() + "/driver-script", std::ios::trunc) << script << '\n';
  platform::ForgetCaseLookups();
}

std::vector<std::string> FolderDeviceTest::DriverLog() const {
  std::ifstream in(folder_.path() + "/driver-log");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

VolumeRecord FolderDeviceTest::MakeFolder(std::u16string_view path, std::u16string_view password,
                                          uint16_t cipher, uint32_t sizeKb,
                                          std::u16string_view mountName) {
  VolumeRecord record{};
  platform::CopyToField(record.path, path);
  platform::CopyToField(record.mountName, mountName);
  record.algorithm = cipher;
  EXPECT_EQ(CreateContainer(record, sizeKb, password), 0);
  EXPECT_EQ(WriteVolumeEntry(record), 0u);
  VolumeRecord listed{};
  EXPECT_EQ(FindVolumeEntry(listed, path), kEntryValid);
  return listed;
}

std::string FolderDeviceTest::Host(std::u16string_view devicePath) {
  return platform::ResolveDevicePath(devicePath).host;
}

bool FolderDeviceTest::ServiceStarted() {
  return fs::exists(platform::DeviceManagerSocketPath());
}

void FolderDeviceTest::StopService() {
  if (!ServiceStarted()) return;
  platform::StartProcess(bin_ + "/qmdevmgr", "", {"--stop"});
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (ServiceStarted() && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

}  // namespace folders::testing
