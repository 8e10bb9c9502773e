// A synchronisation's install check and install pass, and the "Now" fetch before it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conduit/pdb/InstallDatabase.h"
#include "conduit/sync/ConduitLogLines.h"
#include "conduit/sync/InstallPass.h"
#include "conduit/tests/SyncTest.h"
#include "platform/testing/HttpTestServer.h"

namespace conduit::testing {
namespace {

using Lines = std::vector<std::string>;
using platform::testing::HttpReply;

std::vector<std::vector<uint8_t>> Records(const PdbDatabase& db) {
  std::vector<std::vector<uint8_t>> records;
  for (const PdbDatabaseRecord& r : db.records) records.push_back(r.data);
  return records;
}

class InstallTest : public SyncTest {
 protected:
  // A configured address (an install needs one), a schedule not yet due,
  // and the handheld holding both databases with stamp 5.
  void SetUp() override {
    SyncTest::SetUp();
    Configure({.addresses = {"http://127.0.0.1:1/palm"}, .lastUpdate = static_cast<int32_t>(kNow)});
    PutOnHandheld(BaseDatabase(5, 1));
    PutOnHandheld(BaseDatabase(0, 0, "ZEPVE"));
  }
};

TEST_F(InstallTest, EqualStampsInstallNothing) {
  PutUpdateFile("ZEPDB.pdb", BaseDatabase(5, 4));
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(ui_.progressModes.empty());
  EXPECT_EQ(Records(OnHandheld("ZEPDB")), Records(BaseDatabase(5, 1)));
  EXPECT_EQ(LogLines(), Lines{kLogOk});
}

TEST_F(InstallTest, AMissingUpdateFileCountsAsStampZero) {
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(ui_.progressModes.empty());
  EXPECT_EQ(LogLines(), Lines{kLogOk});
}

TEST_F(InstallTest, ANewerDesktopBaseIsInstalledAndItsBackupCopiesPurged) {
  const PdbDatabase newer = BaseDatabase(9, 3);
  PdbDatabase companion = BaseDatabase(1, 2, "ZEPVE");
  companion.records[1].attributes = 0x20;
  PutUpdateFile("ZEPDB.pdb", newer);
  PutUpdateFile("ZEPVE.pdb", companion);
  const std::string deep = home_.Write("drive_c/Palm/Ann/backup/old/ZEPDB.pdb", "old");
  const std::string otherCase = home_.Write("drive_c/Palm/Ann/backup/zepdb.pdb", "kept");

  EXPECT_EQ(Run(), 0);

  EXPECT_EQ(ui_.progressModes, std::vector<int32_t>{UpdateProgressDialog::kModeInstall});
  EXPECT_EQ(Records(OnHandheld("ZEPDB")), Records(newer));
  const PdbDatabase installed = OnHandheld("ZEPVE");
  EXPECT_EQ(Records(installed), Records(companion));
  ASSERT_EQ(installed.records.size(), companion.records.size());
  EXPECT_EQ(installed.records[1].attributes, 0x20);
  EXPECT_FALSE(Exists(deep));
  EXPECT_TRUE(Exists(otherCase));
  EXPECT_EQ(LogLines(), Lines{kLogOk});
}

TEST_F(InstallTest, WithoutAnAddressTheInstallShowsTheNoAddressBoxInstead) {
  ComponentKey().DeleteValue("UpdateUrl1");
  PutUpdateFile("ZEPDB.pdb", BaseDatabase(9, 3));
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "No update path is specified!");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Anti-Virus for PalmOS Updater");
  EXPECT_EQ(Records(OnHandheld("ZEPDB")), Records(BaseDatabase(5, 1)));
  EXPECT_EQ(LogLines(), Lines{kLogOk});
}

TEST_F(InstallTest, WithoutAHandheldBaseEveryFileFailsAndErrorsAreLogged) {
  ASSERT_TRUE(std::filesystem::remove(home_.Path("handheld/Ann/ZEPDB.pdb")));
  ASSERT_TRUE(std::filesystem::remove(home_.Path("handheld/Ann/ZEPVE.pdb")));
  PutUpdateFile("ZEPDB.pdb", BaseDatabase(9, 3));
  PutUpdateFile("ZEPVE.pdb", BaseDatabase(1, 0, "ZEPVE"));
  EXPECT_EQ(Run(), kSyncErrors);
  EXPECT_EQ(ui_.countText, "-1");
  EXPECT_EQ(ui_.dateText, "");
  EXPECT_EQ(LogLines(), (Lines{kLogCannotOpenHandheldDb, kLogCannotOpenHandheldDb, kLogErrors}));
  EXPECT_TRUE(OnHandheld("ZEPDB").records.empty());
}

TEST_F(InstallTest, AListedFileMissingFromTheUpdateFolderFailsAloneAndTheRestIsInstalled) {
  const PdbDatabase newer = BaseDatabase(9, 3);
  PutUpdateFile("ZEPDB.pdb", newer);
  EXPECT_EQ(Run(), kSyncErrors);
  EXPECT_EQ(Records(OnHandheld("ZEPDB")), Records(newer));
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().caption, "Msg");
  EXPECT_EQ(prompt_.last().text, "C:\\ZEPP\\LastUpdate\\ZEPVE.pdb");
  EXPECT_EQ(LogLines(), (Lines{kLogCannotOpenPdb, kLogErrors}));
}

TEST_F(InstallTest, AFileNameLeadingOutOfTheUpdateFolderIsNotRead) {
  Configure({.addresses = {"http://127.0.0.1:1/palm"},
             .files = {"ZEPDB.pdb", "..\\ZEPDB.pdb"},
             .lastUpdate = static_cast<int32_t>(kNow)});
  PutUpdateFile("ZEPDB.pdb", BaseDatabase(9, 3));
  EXPECT_EQ(Run(), kSyncErrors);
  EXPECT_EQ(LogLines(), (Lines{kLogCannotOpenPdb, kLogErrors}));
  EXPECT_EQ(prompt_.count(), 0u);
}

class FetchNowTest : public InstallTest {
 protected:
  void SetUp() override {
    InstallTest::SetUp();
    Configure({.addresses = {server_.Url("/palm")}, .lastUpdate = 0});
    ui_.choice = SyncChoice::Now;
  }
  platform::testing::HttpTestServer server_;
};

TEST_F(FetchNowTest, NowFetchesPromotesAndInstallsTheNewBaseWithoutStartingTheDownloader) {
  const PdbDatabase newer = BaseDatabase(12, 2);
  const std::vector<uint8_t> base = SerializePdb(newer);
  const std::vector<uint8_t> companion = SerializePdb(BaseDatabase(3, 0, "ZEPVE"));
  server_.Serve("/palm/ZEPDB.pdb", HttpReply(std::string(base.begin(), base.end())));
  server_.Serve("/palm/ZEPVE.pdb", HttpReply(std::string(companion.begin(), companion.end())));

  EXPECT_EQ(Run(), 0);

  EXPECT_TRUE(starts_.empty());
  EXPECT_TRUE(ui_.notices.empty());
  EXPECT_EQ(ui_.progressModes, (std::vector<int32_t>{UpdateProgressDialog::kModeFetch,
                                                     UpdateProgressDialog::kModeInstall}));
  EXPECT_TRUE(Exists(UpdateFile("ZEPDB.pdb")));
  EXPECT_EQ(Records(OnHandheld("ZEPDB")), Records(newer));
  EXPECT_EQ(LogLines(), Lines{kLogOk});
  // "Now" leaves the schedule alone.
  EXPECT_EQ(Stored("LastUpdate"), std::string(4, '\0'));
}

TEST_F(FetchNowTest, AnIncompleteFetchIsNoticedForFiveSecondsAndTheCurrentFilesStay) {
  const std::vector<uint8_t> base = SerializePdb(BaseDatabase(12, 2));
  server_.Serve("/palm/ZEPDB.pdb", HttpReply(std::string(base.begin(), base.end())));
  // ZEPVE.pdb is not served: 404 "Not Found".

  EXPECT_EQ(Run(), 0);

  ASSERT_EQ(ui_.notices.size(), 1u);
  EXPECT_EQ(ui_.notices[0].caption, "Error!");
  EXPECT_EQ(ui_.notices[0].text,
            "Not all of update files were succesfuly received.\nCheck your "
            "\"LastUpdate\\Download\" folder.");
  EXPECT_EQ(ui_.notices[0].firstOkText, "OK = 5");
  EXPECT_FALSE(Exists(UpdateFile("ZEPDB.pdb")));
  EXPECT_EQ(Records(OnHandheld("ZEPDB")), Records(BaseDatabase(5, 1)));
}

TEST_F(FetchNowTest, NowWithoutAnAddressShowsTheBoxAndTheIncompleteNotice) {
  ComponentKey().DeleteValue("UpdateUrl1");
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "No update path is specified!");
  EXPECT_TRUE(ui_.progressModes.size() == 1);
  ASSERT_EQ(ui_.notices.size(), 1u);
  EXPECT_EQ(ui_.notices[0].caption, "Error!");
  EXPECT_TRUE(server_.Requests().empty());
}

}  // namespace
}  // namespace conduit::testing
