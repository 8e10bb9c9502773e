// The whole way: the hotsync program loads ZEPPalm.so and brings a newer virus base from the
// update folder to the emulated handheld.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "conduit/sync/ConduitLogLines.h"
#include "conduit/tests/SyncTest.h"

namespace conduit::testing {
namespace {

class HotSyncEndToEnd : public SyncTest {
 protected:
  void SetUp() override {
    SyncTest::SetUp();
    ::setenv("QM_CONDUIT_HEADLESS", "1", 1);
    ASSERT_EQ(HotSync("add-user Ann --desktop-folder 'C:\\Palm'"), 0) << output_;
  }
  void TearDown() override {
    ::unsetenv("QM_CONDUIT_HEADLESS");
    SyncTest::TearDown();
  }

  // HotSync: runs the program with `arguments`; its exit status, with what
  // it printed in output_.
  int HotSync(const std::string& arguments) {
    const char* bin = std::getenv("SUITE_BIN");
    const std::string line = std::string(bin ? bin : ".") + "/hotsync " + arguments + " >" +
                             home_.Path("out") + " 2>&1; echo $? >" + home_.Path("status");
    if (std::system(line.c_str()) != 0) return -1;
    output_ = platform::testing::TempFolder::Read(home_.Path("out"));
    return std::atoi(platform::testing::TempFolder::Read(home_.Path("status")).c_str());
  }

  std::string output_;
};

TEST_F(HotSyncEndToEnd, ANewerBaseInTheUpdateFolderReachesTheHandheldOnce) {
  Configure({.addresses = {"http://127.0.0.1:1/palm"},
             .files = {"ZEPDB.pdb"},
             .lastUpdate = static_cast<int32_t>(SystemTime())});
  PutOnHandheld(BaseDatabase(100, 2));
  const PdbDatabase newer = BaseDatabase(200, 3);
  PutUpdateFile("ZEPDB.pdb", newer);
  const std::string backup = home_.Write("drive_c/Palm/Ann/backup/ZEPDB.pdb", "old copy");

  ASSERT_EQ(HotSync("sync --user Ann"), 0) << output_;
  EXPECT_NE(output_.find("OpenConduit returned 0"), std::string::npos) << output_;
  EXPECT_NE(output_.find(kLogOk), std::string::npos) << output_;
  const PdbDatabase installed = OnHandheld("ZEPDB");
  ASSERT_EQ(installed.records.size(), newer.records.size());
  for (size_t i = 0; i < newer.records.size(); ++i)
    EXPECT_EQ(installed.records[i].data, newer.records[i].data) << i;
  EXPECT_FALSE(Exists(backup));

  // The stamps are equal now: the next synchronisation installs nothing.
  const std::string again = home_.Write("drive_c/Palm/Ann/backup/ZEPDB.pdb", "old copy");
  ASSERT_EQ(HotSync("sync --user Ann"), 0) << output_;
  EXPECT_TRUE(Exists(again));
  EXPECT_EQ(LogLines().back(), kLogOk);
}

TEST_F(HotSyncEndToEnd, SyncTypeSixOnlyLogsItsLine) {
  ASSERT_EQ(HotSync("sync --user Ann --sync-type 6"), 0) << output_;
  EXPECT_NE(output_.find(kLogDoNothing), std::string::npos) << output_;
  EXPECT_FALSE(HasComponentKey());
}

}  // namespace
}  // namespace conduit::testing
