// What happens to an infected file: the question, the copy, the delete and their failures.
#include <gtest/gtest.h>

#include "platform/DevicePath.h"
#include "platform/FileSystem.h"
#include "scanner/scanrun/tests/ScanFixture.h"

namespace scanner::testing {
namespace {

class InfectedFile : public ScanFixture {
 protected:
  void SetUp() override {
    ScanFixture::SetUp();
    MakeFolder("device/Infected");
    Device("Docs/evil.bin", Infected(kBetaSignature));
  }
};

TEST_F(InfectedFile, AskUserShowsTheDetectionWithConfiguredPresets) {
  scanner_->flags = kScanAllFiles | kAskUser | kCopyToInfected;
  dialog_.closeWithOk = true;
  dialog_.boxCopy = true;
  Walk();
  ASSERT_EQ(dialog_.shown.size(), 1u);
  const ScriptedDialog::Shown& d = dialog_.shown[0];
  EXPECT_EQ(d.objectLabel, u"File:");
  EXPECT_EQ(d.objectText, u"\\Docs\\evil.bin");
  EXPECT_EQ(d.virusLabel, u"Virus:");
  EXPECT_EQ(d.virusText, u"Beta");
  EXPECT_EQ(d.description, u"Beta spreads by card");
  EXPECT_TRUE(d.copy);
  EXPECT_FALSE(d.del);
}

TEST_F(InfectedFile, ClosedWithoutOkKeepsTheConfiguredActions) {
  scanner_->flags = kScanAllFiles | kAskUser | kCopyToInfected;
  dialog_.closeWithOk = false;
  dialog_.boxCopy = false;
  dialog_.boxDelete = true;
  Walk();
  EXPECT_EQ(scanner_->moved, 1);
  EXPECT_EQ(scanner_->deleted, 0);
  EXPECT_TRUE(Exists(DeviceHost("Docs/evil.bin")));
  EXPECT_TRUE(Exists(DeviceHost("Infected/evil.bin")));
}

TEST_F(InfectedFile, OkWithBothBoxesClearedOnlyReports) {
  scanner_->flags = kScanAllFiles | kAskUser | kCopyToInfected | kDeleteInfected;
  dialog_.closeWithOk = true;
  Walk();
  EXPECT_EQ(scanner_->moved, 0);
  EXPECT_EQ(scanner_->deleted, 0);
  EXPECT_EQ(scanner_->virusesFound, 1);
  EXPECT_TRUE(Exists(DeviceHost("Docs/evil.bin")));
  EXPECT_FALSE(Exists(DeviceHost("Infected/evil.bin")));
  EXPECT_EQ(ResultTexts(), (std::vector<std::u16string>{u"\\Docs\\evil.bin : Infected with Beta"}));
}

TEST_F(InfectedFile, CopyThenDeleteLeavesItOnlyInTheInfectedFolder) {
  Device("Infected/evil.bin", "an older copy");
  scanner_->flags = kScanAllFiles | kCopyToInfected | kDeleteInfected;
  Walk();
  EXPECT_EQ(scanner_->moved, 1);
  EXPECT_EQ(scanner_->deleted, 1);
  EXPECT_EQ(scanner_->errors, 0);
  EXPECT_FALSE(Exists(DeviceHost("Docs/evil.bin")));
  EXPECT_EQ(Read(DeviceHost("Infected/evil.bin")), Infected(kBetaSignature));
  EXPECT_TRUE(dialog_.shown.empty());
  EXPECT_EQ(recorder_.CountProgress(kProgressFileHandled), 1u);
}

TEST_F(InfectedFile, FailedCopyIsCountedAndDoesNotPreventTheDelete) {
  platform::CopyToField(scanner_->infectedPath, u"\\Gone\\");
  scanner_->flags = kScanAllFiles | kCopyToInfected | kDeleteInfected;
  Walk();
  EXPECT_EQ(scanner_->errors, 1);
  EXPECT_EQ(scanner_->moved, 0);
  EXPECT_EQ(scanner_->deleted, 1);
  const auto m = recorder_.Messages();
  EXPECT_NE(std::find(m.begin(), m.end(), P(kProgressDatabaseError, 3)), m.end());
  EXPECT_EQ(ResultTexts(),
            (std::vector<std::u16string>{u"\\Docs\\evil.bin : Could not copy to Infected folder!",
                                         u"\\Docs\\evil.bin : Infected with Beta"}));
}

TEST_F(InfectedFile, FailedDeleteIsReportedWithTheCode) {
  ASSERT_EQ(platform::SetFileAttributes(platform::ResolveDevicePath(u"\\Docs\\evil.bin"),
                                        platform::FILE_ATTRIBUTE_READONLY),
            0u);
  scanner_->flags = kScanAllFiles | kDeleteInfected;
  Walk();
  EXPECT_EQ(scanner_->errors, 1);
  EXPECT_EQ(scanner_->deleted, 0);
  EXPECT_EQ(recorder_.CountProgress(kProgressDatabaseError), 1u);
  EXPECT_EQ(ResultTexts(), (std::vector<std::u16string>{u"\\Docs\\evil.bin : Could not delete file",
                                                        u"\\Docs\\evil.bin : Infected with Beta"}));
}

}  // namespace
}  // namespace scanner::testing
