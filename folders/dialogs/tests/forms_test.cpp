// The mount, change-password and properties dialogs' logic, and the time-out units.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "folders/container/Container.h"
#include "folders/dialogs/MountForm.h"
#include "folders/dialogs/PasswordForm.h"
#include "folders/dialogs/PropertiesForm.h"
#include "folders/dialogs/TimeoutSetting.h"
#include "folders/strings/FoldersStrings.h"
#include "folders/volumes/DriverKey.h"
#include "folders/volumes/Mount.h"
#include "folders/volumes/VolumeList.h"
#include "folders/volumes/tests/FolderDeviceTest.h"
#include "platform/ScriptedPrompt.h"
#include "platform/Text.h"

namespace folders {
namespace {

using platform::ScriptedPrompt;
namespace fs = std::filesystem;

constexpr char16_t kPath[] = u"\\My Documents\\Secret.zsf";

TEST(TimeoutSetting, StoredValueShowsInItsLargestExactUnit) {
  EXPECT_EQ(TimeoutFromSeconds(7200), (TimeoutSetting{TimeoutBox::Ticked, 2, TimeoutUnit::Hours}));
  EXPECT_EQ(TimeoutFromSeconds(90), (TimeoutSetting{TimeoutBox::Ticked, 90, TimeoutUnit::Seconds}));
  EXPECT_EQ(TimeoutFromSeconds(120), (TimeoutSetting{TimeoutBox::Ticked, 2, TimeoutUnit::Minutes}));
  EXPECT_EQ(TimeoutFromSeconds(0).box, TimeoutBox::Clear);
  EXPECT_EQ((TimeoutSetting{TimeoutBox::Ticked, 3600, TimeoutUnit::Hours}).Seconds(), 12960000u);
  EXPECT_EQ((TimeoutSetting{TimeoutBox::Clear, 5, TimeoutUnit::Hours}).Seconds(), 0u);
}

class Forms : public testing::FolderDeviceTest {
 protected:
  void SetUp() override {
    FolderDeviceTest::SetUp();
    ASSERT_EQ(RegisterDriverKey(kDriverKeyDll, kDriverKeyPath), 0u);  // as the program's start
  }
  ScriptedPrompt prompt_;
};

TEST_F(Forms, MountFormShowsTheFileAndPresetsTheName) {
  VolumeRecord record = MakeFolder(kPath, u"pw", 4);
  MountForm form(record);
  EXPECT_EQ(form.FileName(), kPath);
  EXPECT_EQ(form.SizeText(), u"256 (KB)");
  EXPECT_EQ(form.AlgorithmText(), u"RC6");
  EXPECT_EQ(form.InitialMountAs(), u"Secret");
  platform::CopyToField(record.mountName, u"Work");
  EXPECT_EQ(form.InitialMountAs(), u"Work");

  record.algorithm = 2;
  EXPECT_EQ(form.AlgorithmText(), u"???");
  fs::remove(Host(kPath));
  EXPECT_EQ(form.SizeText(), u"0");
}

TEST_F(Forms, MountFormMountsOnlyWithTheRightPassword) {
  VolumeRecord record = MakeFolder(kPath, u"pw");
  MountForm form(record);
  EXPECT_FALSE(form.Mount(u"Vault", u"wrong", prompt_));
  EXPECT_EQ(prompt_.last().text, "Invalid Password");
  EXPECT_EQ(record.deviceHandle, 0u);

  EXPECT_TRUE(form.Mount(u"Vault", u"pw", prompt_)) << prompt_.last().text;
  EXPECT_NE(record.deviceHandle, 0u);
  EXPECT_EQ(platform::FieldText(record.mountName), u"Vault");
  EXPECT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(UnmountVolume(kPath), 0);  // the entry learns the handle only at a refresh
  EXPECT_TRUE(ReleaseFolderDevice(record.deviceHandle));
}

TEST_F(Forms, MountFormGivesABlankNameTheFileName) {
  VolumeRecord record = MakeFolder(kPath, u"pw");
  MountForm form(record);
  ASSERT_TRUE(form.Mount(u"  ", u"pw", prompt_)) << prompt_.last().text;
  EXPECT_EQ(platform::FieldText(record.mountName), u"Secret");
  EXPECT_TRUE(ReleaseFolderDevice(record.deviceHandle));
}

TEST_F(Forms, PasswordChecksClearWhatTheyName) {
  VolumeRecord record = MakeFolder(kPath, u"old");
  EXPECT_EQ(CheckPasswordChange(record, u"bad", u"new", u"new", prompt_),
            PasswordCheck::OldInvalid);
  EXPECT_EQ(prompt_.last().text, "Old password is invalid!");
  EXPECT_EQ(CheckPasswordChange(record, u"old", u"new", u"neu", prompt_), PasswordCheck::Differ);
  EXPECT_EQ(prompt_.last().text, "Two passwords are not same. Try again.");
  EXPECT_EQ(CheckPasswordChange(record, u"old", u"", u"", prompt_), PasswordCheck::NewRequired);
  EXPECT_EQ(prompt_.last().text, FoldersTextUtf8(kIdsNewPasswordRequired));
  EXPECT_EQ(prompt_.count(), 3u);
  EXPECT_EQ(CheckPasswordChange(record, u"old", u"new", u"new", prompt_), PasswordCheck::Ok);
  EXPECT_EQ(prompt_.count(), 3u);
}

TEST(PasswordForm, ReKeyingResultsMapToTheirTexts) {
  EXPECT_EQ(PasswordChangeMessage(0), 0u);
  EXPECT_EQ(PasswordChangeMessage(-1), kIdsNoCipherLibrary);
  EXPECT_EQ(PasswordChangeMessage(-2), kIdsCipherNotSupported);
  EXPECT_EQ(PasswordChangeMessage(-3), kIdsCannotFindFile);
  EXPECT_EQ(PasswordChangeMessage(-4), kIdsNoRoomForPasswordChange);
  EXPECT_EQ(PasswordChangeMessage(-5), kIdsNewPasswordRequired);
  ScriptedPrompt prompt;
  ReportPasswordChange(0, prompt);
  EXPECT_EQ(prompt.count(), 0u);
  ReportPasswordChange(-3, prompt);
  EXPECT_EQ(prompt.last().text, "Cannot find specified file.");
  EXPECT_EQ(prompt.last().icon, platform::MB_ICONERROR);
}

TEST_F(Forms, PropertiesShowSizeCipherAndLockAMountedFolder) {
  VolumeRecord record = MakeFolder(kPath, u"pw", 5, 256, u"Vault");
  PropertiesForm form(record);
  EXPECT_EQ(form.SizeAndCipher(), u"256 (KB) ; Rijndael-128");
  EXPECT_EQ(form.MountName(), u"Vault");
  EXPECT_TRUE(form.Editable());
  record.deviceHandle = 3;
  EXPECT_FALSE(form.Editable());
}

TEST_F(Forms, PropertiesRefuseABadTimeoutBeforeMoving) {
  VolumeRecord record = MakeFolder(kPath, u"pw");
  PropertiesForm form(record);
  PropertiesInput input = form.Input();
  input.path = u"\\Moved.zsf";
  input.timeout = {TimeoutBox::Ticked, 0, TimeoutUnit::Hours};
  input.timeoutTouched = true;
  EXPECT_FALSE(form.Apply(input, prompt_));
  EXPECT_EQ(prompt_.last().text, "Timeout must be greater then 0!");
  EXPECT_TRUE(fs::exists(Host(kPath)));
  EXPECT_EQ(platform::FieldText(record.path), kPath);
}

TEST_F(Forms, PropertiesFailedMoveNamesBothPathsAndStays) {
  VolumeRecord record = MakeFolder(kPath, u"pw");
  PropertiesForm form(record);
  PropertiesInput input = form.Input();
  input.path = u"Nowhere/b.zsf";
  EXPECT_FALSE(form.Apply(input, prompt_));
  EXPECT_EQ(prompt_.last().text,
            "Cannot move file '\\My Documents\\Secret.zsf' to '\\Nowhere\\b.zsf'");
  EXPECT_EQ(platform::FieldText(record.path), kPath);

  // A path the record cannot hold is refused the same way, the file unmoved.
  input.path = u"\\" + std::u16string(300, u'x') + u".zsf";
  EXPECT_FALSE(form.Apply(input, prompt_));
  EXPECT_EQ(prompt_.last().text.rfind("Cannot move file '\\My Documents\\Secret.zsf' to '", 0), 0u);
  EXPECT_TRUE(fs::exists(Host(kPath)));
  EXPECT_EQ(platform::FieldText(record.path), kPath);
}

TEST_F(Forms, PropertiesMoveRenameAndTimeoutAreApplied) {
  VolumeRecord record = MakeFolder(kPath, u"pw", 3, 256, u"Old");
  PropertiesForm form(record);
  PropertiesInput input = form.Input();
  input.path = u"/Moved.zsf";
  input.mountName = u"New";
  input.timeout = {TimeoutBox::Ticked, 2, TimeoutUnit::Minutes};
  input.timeoutTouched = true;
  ASSERT_TRUE(form.Apply(input, prompt_));
  EXPECT_EQ(prompt_.count(), 0u);

  EXPECT_EQ(platform::FieldText(record.path), u"\\Moved.zsf");
  VolumeRecord moved{};
  ASSERT_EQ(FindVolumeEntry(moved, u"\\Moved.zsf"), kEntryValid);
  EXPECT_EQ(platform::FieldText(moved.mountName), u"New");
  EXPECT_EQ(moved.timeoutSeconds, 120u);
  VolumeRecord old{};
  EXPECT_EQ(FindVolumeEntry(old, kPath), kEntryMissing);  // stays until deleted
}

TEST_F(Forms, UntouchedTimeoutIsNotWritten) {
  VolumeRecord record = MakeFolder(kPath, u"pw");
  PropertiesForm form(record);
  PropertiesInput input = form.Input();
  input.timeout = {TimeoutBox::Ticked, 5, TimeoutUnit::Seconds};
  ASSERT_TRUE(form.Apply(input, prompt_));
  VolumeRecord reread{};
  ASSERT_EQ(ReadContainerHeader(reread, kPath), 1);
  EXPECT_EQ(reread.timeoutSeconds, 0u);

  input.timeoutTouched = true;
  input.timeout = {TimeoutBox::Clear, 5, TimeoutUnit::Seconds};
  record.timeoutSeconds = 0;
  ASSERT_EQ(WriteContainerTimeout(record, 60), 1);
  ASSERT_TRUE(form.Apply(input, prompt_));
  ASSERT_EQ(ReadContainerHeader(reread, kPath), 1);
  EXPECT_EQ(reread.timeoutSeconds, 0u);  // cleared box stores 0
}

}  // namespace
}  // namespace folders
