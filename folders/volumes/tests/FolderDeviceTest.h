// Test fixture: a private handheld (home, device root, registry, device-manager service).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "folders/volumes/VolumeRecord.h"
#include "platform/testing/TempFolder.h"

namespace folders::testing {

// FolderDeviceTest: every test gets its own QM_HOME, so its own registry and
// its own device-manager service, which TearDown stops. The folder driver is
// installed into the device's "\Windows" folder and the cipher library is
// found in the build's bin folder. Platform version 4 unless UseVersion.
class FolderDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // UseVersion: the handheld's major system version for the calls that follow.
  static void UseVersion(uint32_t major);

  // RemoveDriver: takes the folder driver off the device.
  void RemoveDriver();

  // UseScriptedDriver: puts the scripted stand-in driver in the folder
  // driver's place; its start-ups follow `script` (words "ok", "refuse", or
  // an error number, one per start-up; see scripted_folder_driver.cpp).
  void UseScriptedDriver(std::string_view script);

  // DriverLog: the scripted driver's log lines so far ("init <handle>",
  // "fail <error>", "deinit <handle>").
  std::vector<std::string> DriverLog() const;

  // MakeFolder: creates a container at a handheld path ("\My Documents\a.zsf")
  // with the password, cipher and size, writes its list entry with the
  // "mount as" name, and returns the record as the list reads it.
  VolumeRecord MakeFolder(std::u16string_view path, std::u16string_view password,
                          uint16_t cipher = 3, uint32_t sizeKb = 256,
                          std::u16string_view mountName = u"");

  // Host: the host path of a handheld path.
  static std::string Host(std::u16string_view devicePath);

  // ServiceStarted: whether a device-manager service has been started.
  static bool ServiceStarted();

  // StopService: stops this test's service and waits until it is gone.
  void StopService();

  std::string bin_;
  platform::testing::TempFolder folder_{"qm_volumes"};
};

}  // namespace folders::testing
