// Test fixture: a private handheld on which the folder program has started.
#pragma once

#include <gtest/gtest.h>

#include "folders/ui/FoldersStartup.h"
#include "folders/volumes/tests/FolderDeviceTest.h"

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

  FoldersSession session_;
};

}  // namespace folders::testing
