// Test fixture: a fresh home with a device root, a drive C and an empty mount table.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/CaseLookup.h"
#include "platform/MountTable.h"
#include "platform/testing/TempFolder.h"

namespace platform {

class TempDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("QM_HOME", home_.c_str(), 1);
    ::setenv("QM_DEVICE_ROOT", (home_ + "/device").c_str(), 1);
    ::setenv("QM_DEVICE_MOUNTS", (home_ + "/device-mounts.conf").c_str(), 1);
    ::setenv("QM_DRIVE_C", (home_ + "/drive_c").c_str(), 1);
    ::unsetenv("QM_DRIVE_D");
    std::filesystem::create_directories(home_ + "/device");
    std::filesystem::create_directories(home_ + "/drive_c");
    ResetDeviceMounts();
    ForgetCaseLookups();
  }
  void TearDown() override {
    ResetDeviceMounts();
    ForgetCaseLookups();
  }

  // Host: the host path of a path relative to the temporary home.
  std::string Host(std::string_view relative) const { return folder_.Path(relative); }

  // Put: writes a host file below the home, making its folders.
  std::string Put(std::string_view relative, std::string_view content = "data") {
    return folder_.Write(relative, content);
  }

  // MakeFolder: creates a host folder below the home.
  std::string MakeFolder(std::string_view relative) { return folder_.MakeFolder(relative); }

  static std::string Read(const std::string& hostPath) {
    return testing::TempFolder::Read(hostPath);
  }

  static bool Exists(const std::string& hostPath) { return std::filesystem::exists(hostPath); }

  // MountCard / MountRom: mounts a host folder below the home for this run.
  void MountCard(const std::string& name, std::string_view relative) {
    ASSERT_EQ(AddDeviceMount({MountKind::Card, name, MakeFolder(relative)}), 0u);
  }
  void MountRom(const std::string& name, std::string_view relative) {
    ASSERT_EQ(AddDeviceMount({MountKind::Rom, name, MakeFolder(relative)}), 0u);
  }

  testing::TempFolder folder_{"qm_files"};
  std::string home_ = folder_.path();
};

}  // namespace platform
