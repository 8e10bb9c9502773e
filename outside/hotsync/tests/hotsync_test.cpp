// The HotSync manager: a synchronisation with a test conduit, the install queue, sync types, the
// program.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "conduit/pdb/PdbDatabase.h"
#include "outside/hotsync/HotSyncManager.h"
#include "outside/palmdesktop/InstallFolder.h"
#include "outside/palmdesktop/PalmUsers.h"
#include "outside/sync20/Handheld.h"
#include "platform/Home.h"
#include "platform/Module.h"
#include "platform/testing/TempFolder.h"

namespace hotsync {
namespace {

using platform::testing::TempFolder;
using ::testing::HasSubstr;
using ::testing::Not;

std::string Bin() {
  const char* bin = std::getenv("SUITE_BIN");
  return bin ? bin : ".";
}

conduit::PdbDatabase Database(std::string_view name, size_t records) {
  conduit::PdbDatabase db;
  db.SetName(name);
  for (size_t i = 0; i < records; ++i) db.records.push_back({0, uint32_t(i + 1), {uint8_t(i)}});
  return db;
}

class HotSync : public ::testing::Test {
 protected:
  // Put: a database on a user's handheld.
  void Put(std::string_view user, const conduit::PdbDatabase& db) {
    platform::EnsureFolder(sync20::UserFolder(user));
    ASSERT_EQ(sync20::StoreDatabase(sync20::DatabasePath(user, db.Name()), db), 0);
  }

  void SetUp() override {
    ::setenv("QM_HOME", home_.path().c_str(), 1);
    ::setenv("QM_DESKTOP_REGISTRY", home_.Path("desktop-registry.db").c_str(), 1);
    ::setenv("QM_DRIVE_C", home_.MakeFolder("drive_c").c_str(), 1);
    ::setenv("QM_HANDHELD", home_.Path("handheld").c_str(), 1);
    ::setenv("QM_HOTSYNC_LOG", home_.Path("hotsync.log").c_str(), 1);
    ::setenv("QM_MODULE_PATH", Bin().c_str(), 1);
    ::unsetenv("QM_HOTSYNC_USER");
    ::unsetenv("QM_TEST_CONDUIT_FLAG");
    ASSERT_EQ(palmdesktop::SetDesktopFolder(kDefaultDesktopFolder), 0u);
    ASSERT_EQ(palmdesktop::AddUser("Ann"), 0u);
  }

  int Sync(SyncRequest request) {
    out_.str("");
    err_.str("");
    if (request.conduit == kDefaultConduit) request.conduit = TEST_CONDUIT;
    return RunSync(request, out_, err_);
  }

  TempFolder home_{"qm-hotsync"};
  std::ostringstream out_, err_;
};

TEST_F(HotSync, RunsTheConduitForTheUserAndPrintsTheLogOfThatSyncOnly) {
  Put("Ann", Database("ZEPDB", 2));
  home_.Write("hotsync.log", "an earlier sync\n");
  ASSERT_EQ(Sync({"Ann", std::nullopt}), kExitOk) << err_.str();
  const std::string out = out_.str();
  EXPECT_THAT(out, HasSubstr("HotSync for Ann, sync type 0\n"));
  EXPECT_THAT(out, HasSubstr("Conduit: Test Conduit, version 258\n"));
  EXPECT_THAT(out, HasSubstr("progress: test conduit ran\n"));
  EXPECT_THAT(out, HasSubstr("OpenConduit returned 0\n"));
  EXPECT_THAT(out, HasSubstr("HotSync log:\n  test conduit: sync type 0, user Ann, folder "
                             "C:\\Program Files\\Palm\\Ann, ZEPDB has 2 records\n"));
  EXPECT_THAT(out, Not(HasSubstr("an earlier sync")));
}

TEST_F(HotSync, QueuedFilesReachTheHandheldBeforeTheConduitRuns) {
  // The whole path: Hhinstall queues through the Palm Desktop, the manager
  // installs at the next synchronisation.
  const std::string file = home_.Write("drive_c/new/ZEPDB.pdb", "");
  ASSERT_EQ(sync20::StoreDatabase(file, Database("ZEPDB", 5)), 0);
  platform::Module hhinstall;
  ASSERT_EQ(hhinstall.Load(Bin() + "/Hhinstall.so"), 0u);
  const auto install =
      hhinstall.Function<int32_t (*)(const char*, const char*, const char*)>("HhinstallFile");
  ASSERT_EQ(install(Bin().c_str(), nullptr, "C:\\new\\ZEPDB.pdb"), 0);
  ASSERT_EQ(palmdesktop::QueuedFiles("Ann").size(), 1u);

  ASSERT_EQ(Sync({"Ann", std::nullopt}), kExitOk) << err_.str();
  EXPECT_THAT(out_.str(), HasSubstr("Install - ZEPDB.pdb - OK\n"));
  EXPECT_THAT(out_.str(), HasSubstr("ZEPDB has 5 records"));
  EXPECT_TRUE(palmdesktop::QueuedFiles("Ann").empty());

  // A damaged queued file stays queued and the sync goes on.
  home_.Write("drive_c/Program Files/Palm/Ann/Install/Bad.pdb", "not a database");
  ASSERT_EQ(Sync({"Ann", std::nullopt}), kExitOk);
  EXPECT_THAT(out_.str(), HasSubstr("Install - Bad.pdb - failed (-11)"));
  EXPECT_EQ(palmdesktop::QueuedFiles("Ann").size(), 1u);
}

TEST_F(HotSync, ANextOnlySyncTypeServesOneSynchronisation) {
  ASSERT_EQ(palmdesktop::WriteSyncTypes("Ann", 3, palmdesktop::SyncTypeScope::NextOnly), 0u);
  ASSERT_EQ(Sync({"Ann", std::nullopt}), kExitOk);
  EXPECT_THAT(out_.str(), HasSubstr("sync type 3"));
  ASSERT_EQ(Sync({"Ann", std::nullopt}), kExitOk);
  EXPECT_THAT(out_.str(), HasSubstr("sync type 0"));
  // A type given for one run leaves the stored ones alone; the test
  // conduit's answer to 6 is a failure.
  ASSERT_EQ(palmdesktop::WriteSyncTypes("Ann", 3, palmdesktop::SyncTypeScope::NextOnly), 0u);
  EXPECT_EQ(Sync({"Ann", 6}), kExitConduitFailed);
  EXPECT_THAT(out_.str(), HasSubstr("OpenConduit returned -2"));
  palmdesktop::SyncTypes types;
  ASSERT_EQ(palmdesktop::ReadSyncTypes("Ann", types), 0u);
  EXPECT_EQ(types.next, 3);
}

TEST_F(HotSync, ConfigureStoresTheConduitsChoiceByItsDefaultFlag) {
  std::ostringstream out, err;
  ASSERT_EQ(Configure("Ann", TEST_CONDUIT, out, err), kExitOk);
  EXPECT_EQ(out.str(), "Unchanged: sync type 0, next 0\n");
  palmdesktop::SyncTypes types;

  ::setenv("QM_TEST_CONDUIT_FLAG", "2", 1);
  ASSERT_EQ(Configure("Ann", TEST_CONDUIT, out, err), kExitOk);
  ASSERT_EQ(palmdesktop::ReadSyncTypes("Ann", types), 0u);
  EXPECT_EQ(types.standing, 0);
  EXPECT_EQ(types.next, 6);

  ::setenv("QM_TEST_CONDUIT_FLAG", "1", 1);
  ASSERT_EQ(Configure("Ann", TEST_CONDUIT, out, err), kExitOk);
  ASSERT_EQ(palmdesktop::ReadSyncTypes("Ann", types), 0u);
  EXPECT_EQ(types.standing, 3);
  EXPECT_EQ(types.next, 3);
}

TEST_F(HotSync, UnknownUsersAndMissingConduitsAreToldApart) {
  EXPECT_EQ(Sync({"Bob", std::nullopt}), kExitNotRun);
  EXPECT_THAT(err_.str(), HasSubstr("no HotSync user is named \"Bob\""));
  // One user: it need not be named. Two: it must.
  EXPECT_EQ(Sync({"", std::nullopt}), kExitOk);
  ASSERT_EQ(palmdesktop::AddUser("Bob"), 0u);
  EXPECT_EQ(Sync({"", std::nullopt}), kExitNotRun);
  EXPECT_THAT(err_.str(), HasSubstr("several HotSync users"));
  EXPECT_EQ(Sync({"Ann", std::nullopt, home_.Path("NoConduit.dll")}), kExitNotRun);
  EXPECT_THAT(err_.str(), HasSubstr("does not load (126"));
}

TEST_F(HotSync, TheProgramAddsUsersListsDatabasesAndSynchronises) {
  const std::string hotsync = Bin() + "/hotsync";
  const auto run = [&](const std::string& args) {
    const std::string line =
        hotsync + " " + args + " >" + home_.Path("out") + " 2>&1; echo $? >" + home_.Path("status");
    if (std::system(line.c_str()) != 0) return -1;
    return std::atoi(TempFolder::Read(home_.Path("status")).c_str());
  };
  EXPECT_EQ(run("add-user Bob"), 0);
  EXPECT_EQ(run("add-user Bob"), 2);
  Put("Bob", Database("ZEPDB", 3));
  ASSERT_EQ(run("databases --user Bob"), 0);
  EXPECT_EQ(TempFolder::Read(home_.Path("out")), "ZEPDB  3 records\n");
  ASSERT_EQ(run("sync --user Bob --conduit " + std::string(TEST_CONDUIT)), 0);
  EXPECT_THAT(TempFolder::Read(home_.Path("out")), HasSubstr("ZEPDB has 3 records"));
  EXPECT_EQ(run("sync --user Bob --sync-type 9"), 2);
  EXPECT_EQ(run("--help"), 0);
}

}  // namespace
}  // namespace hotsync
