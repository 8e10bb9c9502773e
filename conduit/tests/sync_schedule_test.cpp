// A synchronisation up to its action: sync type 6, registration, the settings key, the sync-time
// dialog, and the scheduled start of the downloader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conduit/sync/ConduitLogLines.h"
#include "conduit/tests/SyncTest.h"

namespace conduit::testing {
namespace {

using Lines = std::vector<std::string>;

TEST_F(SyncTest, SyncTypeSixOnlyLogsItsLineAndLeavesTheKeyUntouched) {
  EXPECT_EQ(Run(kSyncTypeDoNothing), 0);
  EXPECT_EQ(LogLines(), Lines{kLogDoNothing});
  EXPECT_FALSE(HasComponentKey());
  EXPECT_EQ(ui_.syncDialogs, 0);
  EXPECT_TRUE(starts_.empty());
}

TEST_F(SyncTest, WithoutAProgressCallbackNothingHappens) {
  SyncEnvironment environment{ui_, &sync_, &log_};
  ConduitSyncProperties properties{};
  EXPECT_EQ(Synchronise(record_, environment, nullptr, &properties), kSyncRefused);
  EXPECT_TRUE(LogLines().empty());
  EXPECT_FALSE(HasComponentKey());
}

TEST_F(SyncTest, AFailedRegistrationIsLoggedAndEndsTheRun) {
  ASSERT_EQ(sync_.FailNext("SyncRegisterConduit", kSyncErrNotConnected), 0);
  EXPECT_EQ(Run(), kSyncRefused);
  EXPECT_EQ(LogLines(), Lines{kLogCannotRegister});
  EXPECT_FALSE(HasComponentKey());
  EXPECT_EQ(ui_.syncDialogs, 0);
}

TEST_F(SyncTest, AMissingKeyGetsTheDefaultsAndKeepsItsFileList) {
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(LogLines(), Lines{kLogOk});
  EXPECT_EQ(Stored("SyncWaitTime"), std::string("\x05\0\0\0", 4));
  // The end of the run saves the list the defaults stored, not an empty one.
  EXPECT_EQ(Stored("File1"), "ZEPDB.pdb");
  EXPECT_EQ(Stored("File2"), "ZEPVE.pdb");
  EXPECT_EQ(ui_.syncDialogs, 1);
  // LastUpdate 0: an update is long due, and the downloader was started.
  EXPECT_EQ(starts_.size(), 1u);
}

TEST_F(SyncTest, TheSyncTimeDialogShowsTheHandheldBase) {
  Configure({});
  PutOnHandheld(BaseDatabase(5, 3));
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(ui_.countText, "3");
  EXPECT_EQ(ui_.dateText, "2 / 14 / 2003");
}

TEST_F(SyncTest, WithoutTheDialogTheActionIsOnSchedule) {
  Configure({.showDialog = 0, .lastUpdate = 0});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(ui_.syncDialogs, 0);
  EXPECT_EQ(starts_, Lines{"C:\\ZEPP"});
}

TEST_F(SyncTest, AnUpdateDueExactlyNowStartsTheDownloaderOneSecondLaterDoesNot) {
  const int32_t interval = 7 * 86400 - 36000;
  Configure({.days = 7, .lastUpdate = static_cast<int32_t>(kNow - interval)});
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(starts_.size(), 1u);

  starts_.clear();
  Configure({.days = 7, .lastUpdate = static_cast<int32_t>(kNow - interval + 1)});
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(starts_.empty());
  EXPECT_EQ(LogLines(), (Lines{kLogOk, kLogOk}));
}

TEST_F(SyncTest, AHugeIntervalDoesNotWrapIntoAnUpdateAlwaysDue) {
  Configure({.days = 30000, .lastUpdate = static_cast<int32_t>(kNow)});
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(starts_.empty());
}

TEST_F(SyncTest, WithTheTasksKeyTheDownloaderIsNeverStarted) {
  Configure({.days = 1, .lastUpdate = 0});
  SetTasksKey();
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(starts_.empty());
}

TEST_F(SyncTest, ADownloaderThatCannotStartIsNoticedForTenSecondsAndTheRunGoesOn) {
  Configure({.lastUpdate = 0});
  startResult_ = 2;
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(ui_.notices.size(), 1u);
  EXPECT_EQ(ui_.notices[0].caption, "Error");
  EXPECT_EQ(ui_.notices[0].text, "GetLastError() == 2");
  EXPECT_EQ(ui_.notices[0].firstOkText, "OK = 10");
  EXPECT_EQ(LogLines(), Lines{kLogOk});
}

TEST_F(SyncTest, CancelUnregistersWithoutSavingOrAnEndLine) {
  Configure({.lastUpdate = 0});
  // Stored with its terminator: a save would write it without.
  StoreText("DesktopPath", "C:\\Palm", true);
  ui_.choice = SyncChoice::Cancel;
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(LogLines().empty());
  EXPECT_TRUE(starts_.empty());
  EXPECT_EQ(Stored("DesktopPath"), std::string("C:\\Palm\0", 8));
  // The same settings are saved at the end of a run that is not cancelled.
  ui_.choice = SyncChoice::Wait;
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Stored("DesktopPath"), "C:\\Palm");
}

TEST_F(SyncTest, AFailedUnregistrationAfterCancelIsAnError) {
  Configure({});
  ui_.choice = SyncChoice::Cancel;
  ASSERT_EQ(sync_.FailNext("SyncUnRegisterConduit", kSyncErrNotRegistered), 0);
  EXPECT_EQ(Run(), kSyncErrors);
  EXPECT_EQ(LogLines(), Lines{kLogCannotUnregister});
}

TEST_F(SyncTest, AFailedUnregistrationAtTheEndLogsErrors) {
  Configure({.lastUpdate = static_cast<int32_t>(kNow)});
  ASSERT_EQ(sync_.FailNext("SyncUnRegisterConduit", kSyncErrNotRegistered), 0);
  EXPECT_EQ(Run(), kSyncErrors);
  EXPECT_EQ(LogLines(), (Lines{kLogCannotUnregister, kLogErrors}));
}

}  // namespace
}  // namespace conduit::testing
