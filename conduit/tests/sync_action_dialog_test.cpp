// The sync-time dialog's logic: its texts, the handheld base, the countdown and the user's choice.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conduit/dialogs/SyncActionDialog.h"
#include "palmsettings/PalmSettings.h"

namespace conduit {
namespace {

using D = SyncActionDialog;

// Base: a handheld base that reads as `count` viruses with this stamp and date.
HandheldBaseReader Base(int32_t count, uint32_t stamp, std::string date) {
  return [=](uint32_t& outStamp, std::string* outDate) {
    outStamp = stamp;
    if (outDate) *outDate = date;
    return count;
  };
}

HandheldBaseReader NoBase() {
  return [](uint32_t&, std::string*) { return -1; };
}

// Ticks: the OK button's text before each tick until the dialog closes (at
// most `limit` ticks).
std::vector<std::string> Ticks(D& dialog, int limit = 100) {
  std::vector<std::string> shown;
  for (int i = 0; i < limit && dialog.end() == DialogEnd::Open; ++i) {
    shown.push_back(dialog.Text(D::kOk));
    dialog.OnTimer();
  }
  return shown;
}

TEST(SyncActionDialog, OpensWithTheConduitTextsAndOnScheduleSelected) {
  palmsettings::PalmSettings record;
  D dialog(record, Base(3, 7, "2 / 14 / 2003"));
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.Text(D::kCaption), "Quillmark Anti-Virus for PalmOS Updater");
  EXPECT_EQ(dialog.Text(D::kBaseGroup), "Quillmark Anti-Virus for Palm OS");
  EXPECT_EQ(dialog.Text(D::kCountLabel), "Known viruses :");
  EXPECT_EQ(dialog.Text(D::kDateLabel), "Last update :");
  EXPECT_EQ(dialog.Text(D::kActionGroup), "Get update : ");
  EXPECT_EQ(dialog.Text(D::kNowRadio), "Now");
  EXPECT_EQ(dialog.Text(D::kScheduleRadio), "On schedule");
  EXPECT_EQ(dialog.Text(D::kCancel), "Cancel");
  EXPECT_EQ(dialog.selectedRadio(), D::kScheduleRadio);
  EXPECT_EQ(dialog.action(), kActionOnSchedule);
  // The handheld's base: count, date and stamp.
  EXPECT_EQ(dialog.Text(D::kCountField), "3");
  EXPECT_EQ(dialog.Text(D::kDateField), "2 / 14 / 2003");
  EXPECT_TRUE(dialog.baseRead());
  EXPECT_EQ(dialog.handheldStamp(), 7u);
}

TEST(SyncActionDialog, WithoutAHandheldBaseShowsMinusOneAndNoDate) {
  palmsettings::PalmSettings record;
  D dialog(record, NoBase());
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.Text(D::kCountField), "-1");
  EXPECT_EQ(dialog.Text(D::kDateField), "");
  EXPECT_FALSE(dialog.baseRead());
  EXPECT_EQ(dialog.handheldCount(), -1);
}

TEST(SyncActionDialog, ADateLongerThanItsFieldIsCut) {
  palmsettings::PalmSettings record;
  D dialog(record, Base(0, 1, std::string(40, '9')));
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.Text(D::kDateField), std::string(31, '9'));
}

TEST(SyncActionDialog, CountsDownFiveSecondsAndClosesWithOnSchedule) {
  palmsettings::PalmSettings record;
  record.SyncWaitTime = 5;
  D dialog(record, NoBase());
  dialog.OnInitDialog();
  EXPECT_TRUE(dialog.timerRunning());
  EXPECT_EQ(Ticks(dialog),
            (std::vector<std::string>{"OK = 5", "OK = 4", "OK = 3", "OK = 2", "OK = 1"}));
  EXPECT_EQ(dialog.end(), DialogEnd::Ok);
  EXPECT_EQ(dialog.action(), kActionOnSchedule);
  EXPECT_FALSE(dialog.timerRunning());
}

TEST(SyncActionDialog, AClickOnNowStopsTheCountdownUntilOk) {
  palmsettings::PalmSettings record;
  record.SyncWaitTime = 5;
  D dialog(record, NoBase());
  dialog.OnInitDialog();
  dialog.OnTimer();
  dialog.OnRadio(D::kNowRadio);
  EXPECT_EQ(dialog.Text(D::kOk), "OK");
  EXPECT_FALSE(dialog.timerRunning());
  EXPECT_EQ(dialog.selectedRadio(), D::kNowRadio);
  for (int i = 0; i < 20; ++i) dialog.OnTimer();  // a late tick changes nothing
  EXPECT_EQ(dialog.end(), DialogEnd::Open);
  dialog.OnOk();
  EXPECT_EQ(dialog.end(), DialogEnd::Ok);
  EXPECT_EQ(dialog.action(), kActionNow);
}

TEST(SyncActionDialog, AClickOnScheduleAlsoStopsTheCountdown) {
  palmsettings::PalmSettings record;
  D dialog(record, NoBase());
  dialog.OnInitDialog();
  dialog.OnRadio(D::kNowRadio);
  dialog.OnRadio(D::kScheduleRadio);
  EXPECT_FALSE(dialog.timerRunning());
  EXPECT_EQ(dialog.action(), kActionOnSchedule);
}

TEST(SyncActionDialog, CancelChoosesNothing) {
  palmsettings::PalmSettings record;
  D dialog(record, NoBase());
  dialog.OnInitDialog();
  dialog.OnRadio(D::kNowRadio);
  dialog.OnCancel();
  EXPECT_EQ(dialog.end(), DialogEnd::Cancel);
  EXPECT_EQ(dialog.action(), kActionCancelled);
  EXPECT_EQ(dialog.selectedRadio(), 0u);
}

TEST(SyncActionDialog, AWaitTimeBelowOneCountsAsOne) {
  for (int32_t wait : {0, -3}) {
    palmsettings::PalmSettings record;
    record.SyncWaitTime = wait;
    D dialog(record, NoBase());
    dialog.OnInitDialog();
    EXPECT_EQ(Ticks(dialog), std::vector<std::string>{"OK = 1"}) << wait;
    EXPECT_EQ(dialog.end(), DialogEnd::Ok) << wait;
  }
}

}  // namespace
}  // namespace conduit
