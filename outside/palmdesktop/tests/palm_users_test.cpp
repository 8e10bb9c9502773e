// The Palm Desktop stand-ins' state: users in order, sync types and the per-user install queue.
#include <gtest/gtest.h>

#include <cstdlib>

#include "outside/palmdesktop/InstallFolder.h"
#include "outside/palmdesktop/PalmUsers.h"
#include "platform/testing/TempFolder.h"

namespace palmdesktop {
namespace {

using platform::testing::TempFolder;

class PalmDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("QM_HOME", home_.path().c_str(), 1);
    ::setenv("QM_DESKTOP_REGISTRY", home_.Path("desktop-registry.db").c_str(), 1);
    ::setenv("QM_DRIVE_C", home_.MakeFolder("drive_c").c_str(), 1);
    ::unsetenv("QM_PALMDESKTOP_LOG");
  }
  TempFolder home_{"qm-palmdesktop"};
};

TEST_F(PalmDesktop, UsersKeepTheirOrderAndGetDistinctIds) {
  EXPECT_TRUE(ListUsers().empty());
  ASSERT_EQ(AddUser("Zed"), 0u);
  ASSERT_EQ(AddUser("Ann"), 0u);
  EXPECT_EQ(AddUser("Ann"), 183u);
  for (const char* bad : {"", ".", "..", "a\\b"}) EXPECT_EQ(AddUser(bad), 123u) << bad;
  EXPECT_EQ(AddUser(std::string(64, 'x')), 123u);
  const auto users = ListUsers();
  ASSERT_EQ(users.size(), 2u);
  EXPECT_EQ(users[0].name, "Zed");
  EXPECT_EQ(users[1].name, "Ann");
  EXPECT_TRUE(users[0].hasId && users[1].hasId);
  EXPECT_NE(users[0].id, users[1].id);
}

TEST_F(PalmDesktop, ANextOnlySyncTypeHoldsUntilCleared) {
  ASSERT_EQ(AddUser("Ann"), 0u);
  SyncTypes types;
  ASSERT_EQ(ReadSyncTypes("Ann", types), 0u);
  EXPECT_EQ(types.standing, 0);
  EXPECT_EQ(types.next, 0);
  ASSERT_EQ(WriteSyncTypes("Ann", 6, SyncTypeScope::NextOnly), 0u);
  ASSERT_EQ(ReadSyncTypes("Ann", types), 0u);
  EXPECT_EQ(types.standing, 0);
  EXPECT_EQ(types.next, 6);
  ASSERT_EQ(ClearNextSyncType("Ann"), 0u);
  ASSERT_EQ(ClearNextSyncType("Ann"), 0u);
  ASSERT_EQ(ReadSyncTypes("Ann", types), 0u);
  EXPECT_EQ(types.next, 0);
  ASSERT_EQ(WriteSyncTypes("Ann", 3, SyncTypeScope::NextOnly), 0u);
  ASSERT_EQ(WriteSyncTypes("Ann", 6, SyncTypeScope::Standing), 0u);
  ASSERT_EQ(ReadSyncTypes("Ann", types), 0u);
  EXPECT_EQ(types.standing, 6);
  EXPECT_EQ(types.next, 6);
  EXPECT_NE(ReadSyncTypes("Nobody", types), 0u);
}

TEST_F(PalmDesktop, QueuingCopiesIntoTheUsersInstallFolderOnce) {
  ASSERT_EQ(AddUser("Ann"), 0u);
  const std::string source = home_.Write("drive_c/Update/ZEPDB.pdb", "first");
  EXPECT_EQ(QueueInstall("Ann", "C:\\Update\\ZEPDB.pdb"), kInstallNoDesktopFolder);
  ASSERT_EQ(SetDesktopFolder("C:\\Palm"), 0u);
  EXPECT_EQ(UserFolder("Ann"), "C:\\Palm\\Ann");
  EXPECT_EQ(QueueInstall("Ann", "C:\\Update\\ZEPDB.pdb"), 0);
  home_.Write("drive_c/Update/ZEPDB.pdb", "second");
  EXPECT_EQ(QueueInstall("Ann", source.c_str()), -512);
  EXPECT_EQ(TempFolder::Read(home_.Path("drive_c/Palm/Ann/Install/ZEPDB.pdb")), "first");
  EXPECT_EQ(QueuedFiles("Ann"),
            std::vector<std::string>{home_.Path("drive_c/Palm/Ann/Install/ZEPDB.pdb")});

  EXPECT_EQ(QueueInstall("Bob", source.c_str()), kInstallNoSuchUser);
  EXPECT_EQ(QueueInstall("Ann", "C:\\Update\\Missing.pdb"), 2);
  EXPECT_EQ(QueueInstall("Ann", "C:\\Update\\"), kInstallBadArgument);
  EXPECT_EQ(QueueInstall(nullptr, source.c_str()), kInstallBadArgument);
  EXPECT_EQ(QueuedFiles("Ann").size(), 1u);
}

}  // namespace
}  // namespace palmdesktop
