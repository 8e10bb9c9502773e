// Test fixture: a fresh home with a device root, a drive C and an empty mount table.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/CaseLookup.h"
#include "platform/MountTable.h"

namespace platform {

class TempDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (std::filesystem::temp_directory_path() / "qm_files_XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    home_ = tmpl;
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
    std::error_code ec;
    std::filesystem::remove_all(home_, ec);
  }

  // Host: the host path of a path relative to the temporary home.
  std::string Host(std::string_view relative) const { return home_ + "/" + std::string(relative); }

  // Put: writes a host file below the home, making its folders.
  std::string Put(std::string_view relative, std::string_view content = "data") {
    const std::string p = Host(relative);
    std::filesystem::create_directories(std::filesystem::path(p).parent_path());
    std::ofstream(p, std::ios::binary) << content;
    return p;
  }

  // MakeFolder: creates a host folder below the home.
  std::string MakeFolder(std::string_view relative) {
    const std::string p = Host(relative);
    std::filesystem::create_directories(p);
    return p;
  }

  static std::string Read(const std::string& hostPath) {
    std::ifstream in(hostPath, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

  static bool Exists(const std::string& hostPath) { return std::filesystem::exists(hostPath); }

  // MountCard / MountRom: mounts a host folder below the home for this run.
  void MountCard(const std::string& name, std::string_view relative) {
    ASSERT_EQ(AddDeviceMount({MountKind::Card, name, MakeFolder(relative)}), 0u);
  }
  void MountRom(const std::string& name, std::string_view relative) {
    ASSERT_EQ(AddDeviceMount({MountKind::Rom, name, MakeFolder(relative)}), 0u);
  }

  std::string home_;
};

}  // namespace platform
