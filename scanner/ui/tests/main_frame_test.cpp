// The main window's apply cycle, start and exit questions and toolbar, without a toolkit.
#include <gtest/gtest.h>

#include <string>

#include "platform/Text.h"
#include "scanner/scanrun/ScanRun.h"
#include "scanner/settings/Settings.h"
#include "scanner/ui/MainFrameModel.h"
#include "scanner/ui/PageResult.h"
#include "scanner/ui/tests/UiFixture.h"

namespace scanner {
namespace {

using platform::IDCANCEL;
using platform::IDNO;
using platform::IDYES;

class MainFrameTest : public testing::UiFixture {
 protected:
  void SetUp() override {
    UiFixture::SetUp();
    scanner_->flags = kScanAllFiles | kCreateReport;
    frame_ = std::make_unique<MainFrameModel>(*scanner_, prompt_);
  }
  void TearDown() override {
    frame_.reset();
    UiFixture::TearDown();
  }
  // WaitForRunEnd: the run started by the frame has ended and its worker is gone.
  void WaitForRunEnd() {
    ASSERT_TRUE(recorder_.WaitForIdle(++idleRuns_));
    JoinWorker(*scanner_);
  }
  size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }
  std::unique_ptr<MainFrameModel> frame_;
};

TEST_F(MainFrameTest, ApplyButtonShowsOnSettingsPagesAndEnablesOnChange) {
  frame_->ShowPage(Page::kResults);
  EXPECT_FALSE(frame_->ApplyVisible());
  frame_->ShowPage(Page::kScanOptions);
  EXPECT_TRUE(frame_->ApplyVisible());
  EXPECT_FALSE(frame_->ApplyEnabled());
  frame_->ShowPage(Page::kReport);
  EXPECT_TRUE(frame_->ApplyVisible());
  EXPECT_FALSE(frame_->ApplyEnabled());
  frame_->SettingsChanged();
  EXPECT_TRUE(frame_->ApplyEnabled());

  frame_->scanOptions.databases = true;
  ASSERT_EQ(frame_->Apply(), kApplied);
  EXPECT_FALSE(frame_->ApplyEnabled());
  EXPECT_TRUE(scanner_->flags & kScanDatabases);
  // Saved: a fresh scanner reads the new flags back.
  Scanner fresh;
  LoadSettings(fresh);
  EXPECT_EQ(fresh.flags, scanner_->flags);
}

TEST_F(MainFrameTest, ApplyStopsAtTheFirstPageThatFails) {
  frame_->SettingsChanged();
  frame_->scanOptions.choice = FileChoice::kUserMask;  // with an empty mask
  frame_->report.deleteInfected = true;
  EXPECT_EQ(frame_->Apply(), kApplyInvalid);
  EXPECT_EQ(prompt_.count(), 1u);
  EXPECT_FALSE(scanner_->flags & kDeleteInfected);
  EXPECT_TRUE(frame_->ApplyEnabled());
}

TEST_F(MainFrameTest, ApplyWhileScanIsNotIdleIsRefusedAndChangesNothing) {
  for (uint32_t state : {kRunning, kPaused, kStopping}) {
    prompt_.Clear();
    scanner_->state = state;
    frame_->SettingsChanged();
    frame_->scanOptions.romFiles = true;
    frame_->report.infectedPath = u"Elsewhere";
    EXPECT_EQ(frame_->Apply(), kApplyRunning);
    ASSERT_EQ(prompt_.count(), 1u);
    EXPECT_EQ(prompt_.last().text, "Cannot apply settings.\nScanner is running.");
    EXPECT_EQ(scanner_->flags, kScanAllFiles | kCreateReport);
    EXPECT_EQ(platform::FieldText(scanner_->infectedPath), u"\\Infected\\");
    EXPECT_TRUE(frame_->ApplyEnabled());
  }
  scanner_->state = kIdle;
}

TEST_F(MainFrameTest, StartWithUnappliedChangesAnsweredNoScansWithOldSettings) {
  Device("a.txt", Infected());
  frame_->ShowPage(Page::kScanOptions);
  frame_->scanOptions.choice = FileChoice::kUserMask;
  frame_->scanOptions.userMask = u"*.none";
  frame_->SettingsChanged();
  prompt_.Answer(IDNO);
  ASSERT_EQ(frame_->Start(), 0);
  WaitForRunEnd();
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Apply settings?");
  EXPECT_EQ(prompt_.last().icon, platform::MB_ICONQUESTION);
  EXPECT_EQ(prompt_.last().buttons, platform::MB_YESNO);
  EXPECT_EQ(frame_->page(), Page::kResults);
  EXPECT_EQ(scanner_->flags, kScanAllFiles | kCreateReport);
  EXPECT_EQ(scanner_->virusesFound, 1);  // the old "all files" found a.txt
  EXPECT_TRUE(frame_->ApplyEnabled());
}

TEST_F(MainFrameTest, StartAnsweredYesAppliesAndAFailedApplyCancels) {
  frame_->scanOptions.choice = FileChoice::kUserMask;  // empty mask: fails
  frame_->SettingsChanged();
  prompt_.Answer(IDYES);
  EXPECT_EQ(frame_->Start(), -1);
  EXPECT_EQ(Texts(prompt_.shown()), "Apply settings?|User mask must not be empty!|");
  EXPECT_EQ(scanner_->state.load(), kIdle);
  EXPECT_NE(frame_->page(), Page::kResults);

  frame_->scanOptions.userMask = u"*.txt";
  prompt_.Answer(IDYES);
  ASSERT_EQ(frame_->Start(), 0);
  WaitForRunEnd();
  EXPECT_TRUE(scanner_->flags & kScanUserMask);
  EXPECT_FALSE(frame_->ApplyEnabled());
}

TEST_F(MainFrameTest, StoppingAScanWritesTheReportOnce) {
  for (int i = 0; i < 20; ++i) Device("f" + std::to_string(i) + ".txt");
  ASSERT_EQ(frame_->Start(), 0);
  frame_->Stop();
  WaitForRunEnd();
  const std::string report =
      platform::testing::TempFolder::Read(DeviceHost("My Documents/ZEPReport.txt"));
  EXPECT_EQ(Count(report, "Finished at"), 1u) << report;
  EXPECT_EQ(Count(report, "Started at"), 1u) << report;
}

TEST_F(MainFrameTest, ToolbarSwapsStartAndPauseWithTheState) {
  EXPECT_TRUE(frame_->StartVisible());
  EXPECT_FALSE(frame_->PauseVisible());
  scanner_->state = kRunning;
  EXPECT_FALSE(frame_->StartVisible());
  EXPECT_TRUE(frame_->PauseVisible());
  scanner_->state = kPaused;
  EXPECT_TRUE(frame_->StartVisible());
  EXPECT_FALSE(frame_->PauseVisible());
  scanner_->state = kIdle;
}

TEST_F(MainFrameTest, ExitAsksOnlyWithUnappliedChanges) {
  EXPECT_EQ(frame_->Exit(), ExitChoice::kClose);
  EXPECT_EQ(prompt_.count(), 0u);

  frame_->SettingsChanged();
  frame_->scanOptions.cards = true;
  prompt_.Answer({IDCANCEL, IDNO});
  EXPECT_EQ(frame_->Exit(), ExitChoice::kStay);
  EXPECT_EQ(prompt_.last().text, "Do you want to save settings?");
  EXPECT_EQ(prompt_.last().buttons, platform::MB_YESNOCANCEL);
  EXPECT_EQ(frame_->Exit(), ExitChoice::kClose);
  EXPECT_FALSE(scanner_->flags & kScanCards);

  frame_->scanOptions.choice = FileChoice::kUserMask;  // empty: the apply fails
  prompt_.Answer(IDYES);
  EXPECT_EQ(frame_->Exit(), ExitChoice::kStay);
  frame_->scanOptions.choice = FileChoice::kAllFiles;
  prompt_.Answer(IDYES);
  EXPECT_EQ(frame_->Exit(), ExitChoice::kClose);
  EXPECT_TRUE(scanner_->flags & kScanCards);
}

}  // namespace
}  // namespace scanner
