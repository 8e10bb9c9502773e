// The folder program's start-up and end on a private handheld.
#include <gtest/gtest.h>

#include <string>

#include "folders/strings/FoldersStrings.h"
#include "folders/ui/FoldersStartup.h"
#include "folders/volumes/DriverKey.h"
#include "folders/volumes/tests/FolderDeviceTest.h"
#include "platform/RegKey.h"

namespace folders {
namespace {

class FoldersStartup : public testing::FolderDeviceTest {
 protected:
  static bool DriverKeyExists() {
    platform::RegKey key;
    return key.Open(platform::HKEY_LOCAL_MACHINE, kDriverKeyPath) == 0;
  }
};

TEST_F(FoldersStartup, DriverKeyIsWrittenFromVersion4OnlyAndTextsFallBackToTheOwnTable) {
  UseVersion(3);
  FoldersSession session = StartFolders();
  EXPECT_EQ(session.driverKeyResult, 0u);
  EXPECT_FALSE(DriverKeyExists());
  // No language module ships: the load fails and the own table answers.
  EXPECT_NE(session.languageResult, 0u);
  EXPECT_EQ(FoldersTextUtf8(kIdsCaption), "Quillmark Coffer");
  EndFolders(session);

  UseVersion(4);
  session = StartFolders();
  EXPECT_EQ(session.driverKeyResult, 0u);
  platform::RegKey key;
  ASSERT_EQ(key.Open(platform::HKEY_LOCAL_MACHINE, kDriverKeyPath), 0u);
  EXPECT_EQ(key.StringOr("Prefix", std::string()), "VDD");
  EXPECT_EQ(key.StringOr("Dll", std::string()), "secvol.dll");
  EXPECT_EQ(key.StringOr("IClass", std::string()), "{A4E7EDDA-E575-4252-9D6B-4195D48BB865}");
  EndFolders(session);
}

}  // namespace
}  // namespace folders
