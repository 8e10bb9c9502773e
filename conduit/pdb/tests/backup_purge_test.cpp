// PurgeBackupCopies: exact names deleted depth first in the user's backup folder, nothing else.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "conduit/pdb/BackupPurge.h"
#include "conduit/pdb/tests/HotSyncFixture.h"
#include "platform/testing/TempFolder.h"

namespace conduit {
namespace {

using platform::testing::TempFolder;

class Purge : public testing::HotSyncSession {
 protected:
  void SetUp() override {
    testing::HotSyncSession::SetUp();
    std::strcpy(settings_.DesktopPath, "C:\\Palm");
    palmsettings::AppendEntry(settings_.fileList, "ZEPDB.pdb");
    palmsettings::AppendEntry(settings_.fileList, "ZEPVE.pdb");
  }
  bool Exists(std::string_view relative) { return std::filesystem::exists(home_.Path(relative)); }
  palmsettings::PalmSettings settings_;
};

TEST_F(Purge, DeletesExactNamesInEverySubfolderAndKeepsOtherSpellings) {
  home_.Write("drive_c/Palm/Ann/backup/zepdb.pdb", "lower");
  home_.Write("drive_c/Palm/Ann/backup/ZEPVE.pdb", "top");
  home_.Write("drive_c/Palm/Ann/backup/Archive/ZEPDB.pdb", "sub");
  home_.Write("drive_c/Palm/Ann/backup/Archive/Deeper/ZEPVE.pdb", "deep");
  home_.Write("drive_c/Palm/Ann/backup/Archive/MemoDB.pdb", "other");
  home_.MakeFolder("drive_c/Palm/Ann/backup/Archive/ZEPDB.pdb.d");
  home_.Write("drive_c/Palm/Bob/backup/ZEPDB.pdb", "another user");
  const auto before = std::filesystem::current_path();

  EXPECT_EQ(PurgeBackupCopies(link_, settings_), 3);
  EXPECT_TRUE(Exists("drive_c/Palm/Ann/backup/zepdb.pdb"));
  EXPECT_FALSE(Exists("drive_c/Palm/Ann/backup/ZEPVE.pdb"));
  EXPECT_FALSE(Exists("drive_c/Palm/Ann/backup/Archive/ZEPDB.pdb"));
  EXPECT_FALSE(Exists("drive_c/Palm/Ann/backup/Archive/Deeper/ZEPVE.pdb"));
  EXPECT_TRUE(Exists("drive_c/Palm/Ann/backup/Archive/MemoDB.pdb"));
  EXPECT_TRUE(Exists("drive_c/Palm/Ann/backup/Archive/ZEPDB.pdb.d"));
  EXPECT_TRUE(Exists("drive_c/Palm/Bob/backup/ZEPDB.pdb"));
  EXPECT_EQ(std::filesystem::current_path(), before);
}

TEST_F(Purge, AMissingBackupFolderDeletesNothing) {
  home_.Write("drive_c/Palm/Ann/ZEPDB.pdb", "not in backup");
  EXPECT_EQ(PurgeBackupCopies(link_, settings_), -2);
  EXPECT_TRUE(Exists("drive_c/Palm/Ann/ZEPDB.pdb"));
  home_.Write("drive_c/Palm/Ann/backup", "a file, not a folder");
  EXPECT_EQ(PurgeBackupCopies(link_, settings_), -2);
  settings_.DesktopPath[0] = '\0';
  EXPECT_EQ(PurgeBackupCopies(link_, settings_), -2);
}

TEST_F(Purge, AnEmptyFileListDeletesNothing) {
  palmsettings::FreeEntries(settings_.fileList);
  home_.Write("drive_c/Palm/Ann/backup/ZEPDB.pdb", "kept");
  EXPECT_EQ(PurgeBackupCopies(link_, settings_), 0);
  EXPECT_TRUE(Exists("drive_c/Palm/Ann/backup/ZEPDB.pdb"));
}

TEST_F(Purge, WithoutAUserNothingIsTouched) {
  home_.Write("drive_c/Palm/Ann/backup/ZEPDB.pdb", "kept");
  ASSERT_EQ(sync_.FailNext("SyncReadUserID", kSyncErrNotConnected), 0);
  EXPECT_EQ(PurgeBackupCopies(link_, settings_), -1);
  EXPECT_TRUE(Exists("drive_c/Palm/Ann/backup/ZEPDB.pdb"));
}

TEST_F(Purge, AUserNameThatWouldClimbOutOfTheDesktopFolderIsNotUsed) {
  home_.Write("drive_c/backup/ZEPDB.pdb", "outside");
  ASSERT_EQ(sync_.BeginSession(".."), 0);
  ASSERT_EQ(sync_.RegisterConduit(&conduit_), 0);
  EXPECT_EQ(PurgeBackupCopies(link_, settings_), -1);
  EXPECT_TRUE(Exists("drive_c/backup/ZEPDB.pdb"));
}

}  // namespace
}  // namespace conduit
