// Test fixture: a private handheld on which the folder program has started.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <utility>

#include "folders/ui/FoldersStartup.h"
#include "folders/volumes/VolumeRefresh.h"
#include "folders/volumes/tests/FolderDeviceTest.h"
#include "platform/Text.h"

namespace folders::testing {

// FoldersProgramTest: FolderDeviceTest plus the program's start-up (device
// registry, language, driver key) before each test and its end after.
class FoldersProgramTest : public FolderDeviceTest {
 protected:
  void SetUp() override {
    FolderDeviceTest::SetUp();
    session_ = StartFolders();
    ASSERT_EQ(session_.driverKeyResult, 0u);
  }
  void TearDown() override {
    EndFolders(session_);
    FolderDeviceTest::TearDown();
  }

  // RowOf: the refreshed list's row of that path, nullopt when not listed.
  static std::optional<VolumeRow> RowOf(std::u16string_view path) {
    for (VolumeRow& row : RefreshVolumeList())
      if (platform::EqualsIgnoreCase(row.path, path)) return std::move(row);
    return std::nullopt;
  }

  FoldersSession session_;
};

}  // namespace folders::testing
