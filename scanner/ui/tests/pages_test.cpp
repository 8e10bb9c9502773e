// The settings pages' apply steps and the results page's fields.
#include <gtest/gtest.h>

#include "platform/Text.h"
#include "scanner/scanrun/ScanObserver.h"
#include "scanner/ui/ControlText.h"
#include "scanner/ui/PageResult.h"
#include "scanner/ui/ReportPage.h"
#include "scanner/ui/ResultsPage.h"
#include "scanner/ui/ScanOptionsPage.h"
#include "scanner/ui/tests/UiFixture.h"

namespace scanner {
namespace {

using testing::UiFixture;

class ScanOptionsPageTest : public UiFixture {};
class ReportPageTest : public UiFixture {};

TEST_F(ScanOptionsPageTest, MasksAreTrimmedAndLowBitsReplaced) {
  scanner_->flags = 0x80 | kScanAllFiles | kCreateReport;
  ScanOptionsPage page;
  page.Load(*scanner_);
  EXPECT_EQ(page.choice, FileChoice::kAllFiles);
  EXPECT_FALSE(page.UserMaskEnabled());
  page.choice = FileChoice::kUserMask;
  page.userMask = u"  *.exe;*.dll \t";
  page.exclude = true;
  page.excludeMask = u" *.txt ";
  page.databases = true;
  EXPECT_TRUE(page.UserMaskEnabled());
  EXPECT_TRUE(page.ExcludeMaskEnabled());
  ASSERT_EQ(page.Apply(*scanner_, prompt_), kApplied);
  EXPECT_EQ(scanner_->flags, kScanUserMask | kScanExcludeMask | kScanDatabases | kCreateReport);
  EXPECT_EQ(platform::FieldText(scanner_->userMask), u"*.exe;*.dll");
  EXPECT_EQ(platform::FieldText(scanner_->excludeMask), u"*.txt");
  EXPECT_EQ(page.userMask, u"*.exe;*.dll");
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(ScanOptionsPageTest, BlankMaskInUseIsRefusedAndChangesNothing) {
  scanner_->flags = kScanAllFiles;
  ScanOptionsPage page;
  page.Load(*scanner_);
  page.choice = FileChoice::kUserMask;
  page.userMask = u"   ";
  EXPECT_EQ(page.Apply(*scanner_, prompt_), kApplyInvalid);
  EXPECT_EQ(prompt_.last().text, "User mask must not be empty!");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Anti-Virus");
  EXPECT_EQ(prompt_.last().icon, platform::MB_ICONERROR);

  page.userMask = u"*.exe";
  page.exclude = true;
  EXPECT_EQ(page.Apply(*scanner_, prompt_), kApplyInvalid);
  EXPECT_EQ(prompt_.last().text, "Exclude mask must not be empty!");
  EXPECT_EQ(scanner_->flags, kScanAllFiles);
  EXPECT_EQ(platform::FieldText(scanner_->userMask), u"");

  // A blank mask that is not in use does not matter.
  page.exclude = false;
  EXPECT_EQ(page.Apply(*scanner_, prompt_), kApplied);
}

TEST_F(ReportPageTest, BareInfectedWordGetsOneBackslashEachSideAndFolderIsCreated) {
  EXPECT_EQ(FormInfectedPath(u"Infected"), u"\\Infected\\");
  EXPECT_EQ(FormInfectedPath(u"/Infected/"), u"/Infected/");
  EXPECT_EQ(FormInfectedPath(u"\\A\\B"), u"\\A\\B\\");
  EXPECT_EQ(FormInfectedPath(u""), u"");

  ReportPage page;
  page.Load(*scanner_);
  page.copyToInfected = true;
  page.infectedPath = u"Infected";
  ASSERT_EQ(page.Apply(*scanner_, prompt_), kApplied);
  EXPECT_EQ(platform::FieldText(scanner_->infectedPath), u"\\Infected\\");
  EXPECT_EQ(page.infectedPath, u"\\Infected\\");
  EXPECT_TRUE(std::filesystem::is_directory(DeviceHost("Infected")));
  EXPECT_TRUE(scanner_->flags & kCopyToInfected);
}

TEST_F(ReportPageTest, InfectedFolderThatCannotBeMadeClearsTheBoxWithMessage105) {
  Device("Taken", "a file, not a folder");
  scanner_->flags |= kCopyToInfected;
  ReportPage page;
  page.Load(*scanner_);
  page.copyToInfected = true;
  page.infectedPath = u"Taken";
  ASSERT_EQ(page.Apply(*scanner_, prompt_), kApplied);
  EXPECT_EQ(prompt_.last().text, "Path to \"Infected\" forlder is invalid.\nEnter another path.");
  EXPECT_FALSE(page.copyToInfected);
  EXPECT_FALSE(page.InfectedEditEnabled());
  EXPECT_FALSE(scanner_->flags & kCopyToInfected);

  // An empty folder names nothing rather than the device's root.
  page.copyToInfected = true;
  page.infectedPath.clear();
  prompt_.Clear();
  page.Apply(*scanner_, prompt_);
  EXPECT_EQ(prompt_.count(), 1u);
  EXPECT_FALSE(scanner_->flags & kCopyToInfected);
}

TEST_F(ReportPageTest, ReportFileIsCheckedWithoutBeingChanged) {
  ReportPage page;
  page.Load(*scanner_);
  page.createReport = true;
  page.deleteInfected = true;

  page.reportPath = u"\\No such folder\\r.txt";
  EXPECT_EQ(page.Apply(*scanner_, prompt_), kApplyInvalid);
  EXPECT_EQ(prompt_.last().text, "Cannot open report file.");
  EXPECT_EQ(platform::FieldText(scanner_->reportPath), u"\\My Documents\\ZEPReport.txt");

  page.reportPath.clear();
  EXPECT_EQ(page.Apply(*scanner_, prompt_), kApplyInvalid);

  // A missing file in an existing folder is fine and is not created yet.
  page.reportPath = u"\\My Documents\\new.txt";
  EXPECT_EQ(page.Apply(*scanner_, prompt_), kApplied);
  EXPECT_EQ(platform::FieldText(scanner_->reportPath), u"\\My Documents\\new.txt");
  EXPECT_FALSE(std::filesystem::exists(DeviceHost("My Documents/new.txt")));

  const std::string old = Device("My Documents/old.txt", "earlier report");
  page.reportPath = u"/My Documents/old.txt";
  EXPECT_EQ(page.Apply(*scanner_, prompt_), kApplied);
  EXPECT_EQ(platform::testing::TempFolder::Read(old), "earlier report");
  EXPECT_EQ(scanner_->flags & 0xFF00, kCreateReport | kDeleteInfected);
}

TEST(ResultsPageTest, FieldsFollowStateAndProgressMessages) {
  Scanner scanner;
  ResultsPage page;
  page.fields.fill(u"7");
  page.status = u"\\a.txt";
  EXPECT_TRUE(page.OnState(kRunning, kIdle));
  for (const std::u16string& f : page.fields) EXPECT_EQ(f, u"0");
  EXPECT_FALSE(page.OnState(kRunning, kPaused));
  EXPECT_EQ(page.status, u"\\a.txt");

  scanner.files = 4;
  scanner.folders = 2;
  scanner.virusesFound = 3;
  scanner.moved = 1;
  scanner.deleted = 2;
  scanner.errors = 5;
  page.OnProgress(scanner, kProgressFolder);
  EXPECT_EQ(page.Field(ResultField::kFolders), u"2");
  EXPECT_EQ(page.Field(ResultField::kFiles), u"0");
  page.OnProgress(scanner, kProgressFileHandled);
  EXPECT_EQ(page.Field(ResultField::kFiles), u"4");
  EXPECT_EQ(page.Field(ResultField::kViruses), u"3");
  EXPECT_EQ(page.Field(ResultField::kMoved), u"1");
  EXPECT_EQ(page.Field(ResultField::kDeleted), u"2");
  EXPECT_EQ(page.Field(ResultField::kErrors), u"0");
  page.OnProgress(scanner, kProgressDatabaseError);
  EXPECT_EQ(page.Field(ResultField::kErrors), u"5");

  EXPECT_FALSE(page.OnState(kIdle, kRunning));
  EXPECT_EQ(page.status, u"");
}

TEST(ControlTextTest, DoubleAmpersandShowsAsOne) {
  EXPECT_EQ(ShownAmpersands(u"Scan cards && network folders"), u"Scan cards & network folders");
  EXPECT_EQ(ShownAmpersands(u"a &&&& b &"), u"a && b &");
  EXPECT_EQ(ControlText(16), u"Scan cards & network folders");
}

}  // namespace
}  // namespace scanner
