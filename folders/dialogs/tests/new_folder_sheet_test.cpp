// The "New folder" sheet's lists, checks and request, on a private handheld.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "folders/dialogs/NewFolderSheet.h"
#include "folders/strings/FoldersStrings.h"
#include "folders/volumes/VolumeList.h"
#include "folders/volumes/tests/FolderDeviceTest.h"
#include "platform/MountTable.h"
#include "platform/ScriptedPrompt.h"
#include "platform/Text.h"

namespace folders {
namespace {

using platform::ScriptedPrompt;

std::string Text(uint32_t id) {
  return FoldersTextUtf8(id);
}

class NewFolderSheetTest : public testing::FolderDeviceTest {
 protected:
  // Sheet: a loaded sheet whose location always has `freeBytes` free.
  NewFolderSheet Sheet(uint64_t freeBytes = uint64_t{1} << 40, std::u16string_view initial = u"") {
    NewFolderSheet sheet([freeBytes](std::u16string_view) { return freeBytes; });
    sheet.Load(initial);
    return sheet;
  }

  // Card: mounts a storage card "Storage Card" with a folder "Docs" in it.
  void Card() {
    const std::string host = folder_.MakeFolder("card/Docs");
    ASSERT_EQ(
        platform::AddDeviceMount({platform::MountKind::Card, "Storage Card", folder_.Path("card")}),
        0u);
    (void)host;
  }

  // Filled: name, password and re-type set so that every check passes.
  static void Fill(NewFolderSheet& sheet) {
    sheet.SetName(u"Secret");
    sheet.SetPassword(u"pw");
    sheet.SetRetype(u"pw");
  }

  ScriptedPrompt prompt_;
};

TEST_F(NewFolderSheetTest, SizeBelow256KbIsRefusedBeforeTheName) {
  NewFolderSheet sheet = Sheet();
  sheet.SetSizeValue(100);
  EXPECT_FALSE(sheet.CheckFolderPage(prompt_));
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "Too small disk size specified!");
  EXPECT_EQ(prompt_.last().caption, "Quillmark Coffer");
  EXPECT_TRUE(sheet.marked(SheetPage::Folder));
}

TEST_F(NewFolderSheetTest, UnitDecidesTheSpinMinimumAtOnce) {
  NewFolderSheet sheet = Sheet();
  EXPECT_EQ(sheet.sizeValue(), 256u);
  EXPECT_EQ(sheet.sizeMinimum(), 256u);
  sheet.StepSize(-3);
  EXPECT_EQ(sheet.sizeValue(), 256u);
  sheet.StepSize(2);
  EXPECT_EQ(sheet.sizeValue(), 320u);

  sheet.SetSizeUnit(SizeUnit::MB);
  EXPECT_EQ(sheet.sizeMinimum(), 1u);
  sheet.SetSizeValue(2);
  EXPECT_EQ(sheet.SizeKb(), 2048u);
  sheet.StepSize(-1);
  EXPECT_EQ(sheet.sizeValue(), 1u);
  sheet.StepSize(100000);
  EXPECT_EQ(sheet.sizeValue(), 65536u);

  sheet.SetSizeValue(3);
  sheet.SetSizeUnit(SizeUnit::KB);  // 3 is below the KB minimum
  EXPECT_EQ(sheet.sizeValue(), 256u);
  sheet.SetSizeValue(70000);
  EXPECT_EQ(sheet.sizeValue(), 65536u);
}

TEST_F(NewFolderSheetTest, NameOfSpacesIsRequired) {
  NewFolderSheet sheet = Sheet();
  sheet.SetName(u"   ");
  EXPECT_FALSE(sheet.CheckFolderPage(prompt_));
  EXPECT_EQ(prompt_.last().text, "A filename is required to create new folder");
}

TEST_F(NewFolderSheetTest, PathTheRecordCannotHoldIsRefused) {
  NewFolderSheet sheet = Sheet();
  Fill(sheet);
  sheet.SetName(std::u16string(300, u'x'));
  EXPECT_FALSE(sheet.CheckFolderPage(prompt_));
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "The path is too long.");
  EXPECT_TRUE(sheet.marked(SheetPage::Folder));
}

TEST_F(NewFolderSheetTest, LocationsAndFoldersComeFromTheDevice) {
  Card();
  folder_.MakeFolder("device/My Documents/Deep");
  NewFolderSheet sheet = Sheet();
  ASSERT_EQ(sheet.locations().size(), 2u);
  EXPECT_EQ(sheet.locations()[0], u"Main memory");
  EXPECT_EQ(sheet.locations()[1], u"Storage Card");
  // Main memory lists the folders under the root, the card among them.
  const std::vector<std::u16string>& top = sheet.folders();
  ASSERT_FALSE(top.empty());
  EXPECT_EQ(top[0], u"\\");
  EXPECT_NE(std::find(top.begin(), top.end(), u"\\My Documents"), top.end());
  EXPECT_EQ(std::find(top.begin(), top.end(), u"\\Deep"), top.end());

  sheet.SetName(u" Secret ");
  EXPECT_EQ(sheet.ContainerPath(), u"\\Secret.zsf");
  sheet.SetLocation(1);
  EXPECT_EQ(sheet.folders(), (std::vector<std::u16string>{u"\\", u"\\Docs"}));
  EXPECT_EQ(sheet.ContainerPath(), u"\\Storage Card\\Secret.zsf");
  sheet.SetFolder(1);
  EXPECT_EQ(sheet.ContainerPath(), u"\\Storage Card\\Docs\\Secret.zsf");
  EXPECT_EQ(sheet.LocationPrefix(), u"\\Storage Card");
}

TEST_F(NewFolderSheetTest, InitialPathPresetsLocationFolderAndName) {
  Card();
  NewFolderSheet onCard = Sheet(uint64_t{1} << 40, u"/storage card/Docs/Secret.zsf");
  EXPECT_EQ(onCard.location(), 1u);
  EXPECT_EQ(onCard.name(), u"Secret");
  EXPECT_EQ(onCard.ContainerPath(), u"\\Storage Card\\Docs\\Secret.zsf");

  // A folder deeper than the list reaches is added to it.
  NewFolderSheet deep = Sheet(uint64_t{1} << 40, u"\\My Documents\\a\\b\\x.zsf");
  EXPECT_EQ(deep.location(), 0u);
  EXPECT_EQ(deep.ContainerPath(), u"\\My Documents\\a\\b\\x.zsf");

  NewFolderSheet top = Sheet(uint64_t{1} << 40, u"x.ZSF");
  EXPECT_EQ(top.ContainerPath(), u"\\x.zsf");
  NewFolderSheet cardTop = Sheet(uint64_t{1} << 40, u"\\Storage Card\\y");
  EXPECT_EQ(cardTop.ContainerPath(), u"\\Storage Card\\y.zsf");
  // Odd command-line texts preset what they can and nothing breaks.
  for (std::u16string_view odd : {u"\\", u"/", u"\\\\", u"\\Storage Card\\", u"\\\\a\\\\"}) {
    NewFolderSheet sheet = Sheet(uint64_t{1} << 40, odd);
    EXPECT_EQ(sheet.ContainerPath().substr(0, 1), u"\\");
  }
}

TEST_F(NewFolderSheetTest, ExistingFileAsksAndNoKeepsTheSheetOpen) {
  folder_.Write("device/My Documents/Secret.zsf", "old");
  NewFolderSheet sheet = Sheet();
  Fill(sheet);
  sheet.SetFolder(static_cast<size_t>(
      std::find(sheet.folders().begin(), sheet.folders().end(), u"\\My Documents") -
      sheet.folders().begin()));
  ASSERT_EQ(sheet.ContainerPath(), u"\\My Documents\\Secret.zsf");

  prompt_.Answer(platform::IDNO);
  EXPECT_FALSE(sheet.CheckFolderPage(prompt_));
  EXPECT_EQ(prompt_.last().text, Text(kIdsConfirmOverwrite));
  EXPECT_EQ(prompt_.last().buttons, platform::MB_YESNO);
  EXPECT_TRUE(sheet.marked(SheetPage::Folder));

  prompt_.Answer(platform::IDYES);
  EXPECT_TRUE(sheet.CheckFolderPage(prompt_));
  EXPECT_FALSE(sheet.marked(SheetPage::Folder));
  EXPECT_EQ(prompt_.count(), 2u);
  // Passed and unchanged: leaving the page again or OK does not ask again.
  EXPECT_TRUE(sheet.LeavePage(SheetPage::Folder, prompt_));
  EXPECT_EQ(sheet.ConfirmOk(SheetPage::Encryption, prompt_), std::nullopt);
  EXPECT_EQ(prompt_.count(), 2u);
}

TEST_F(NewFolderSheetTest, OverwriteQuestionComesBeforeTheFreeSpace) {
  folder_.Write("device/Secret.zsf", "old");
  NewFolderSheet sheet = Sheet(1024);
  Fill(sheet);
  prompt_.Answer(platform::IDNO);
  EXPECT_FALSE(sheet.CheckFolderPage(prompt_));
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, Text(kIdsConfirmOverwrite));

  prompt_.Clear();
  prompt_.Answer(platform::IDYES);
  EXPECT_FALSE(sheet.CheckFolderPage(prompt_));
  ASSERT_EQ(prompt_.count(), 2u);
  EXPECT_EQ(prompt_.shown()[0].text, Text(kIdsConfirmOverwrite));
  EXPECT_EQ(prompt_.last().text, Text(kIdsNoFreeSpace));
  EXPECT_TRUE(sheet.marked(SheetPage::Folder));
}

TEST_F(NewFolderSheetTest, MountedFolderIsNeverOverwritten) {
  folder_.Write("device/Secret.zsf", "in use");
  VolumeRecord listed{};
  platform::CopyToField(listed.path, u"\\Secret.zsf");
  listed.deviceHandle = 7;
  ASSERT_EQ(WriteVolumeEntry(listed), 0u);
  NewFolderSheet sheet = Sheet();
  Fill(sheet);
  EXPECT_FALSE(sheet.CheckFolderPage(prompt_));
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, "This folder is mounted.\nUnmount it first.");
}

TEST_F(NewFolderSheetTest, FreeSpaceMustExceedTheSize) {
  NewFolderSheet tight = Sheet(256 * 1024);
  Fill(tight);
  EXPECT_FALSE(tight.CheckFolderPage(prompt_));
  EXPECT_EQ(prompt_.last().text, "Cannot create new file.\nNot enought free space");

  NewFolderSheet roomy = Sheet(256 * 1024 + 1);
  Fill(roomy);
  EXPECT_TRUE(roomy.CheckFolderPage(prompt_));

  // The real query answers for main memory and for a card.
  Card();
  NewFolderSheet real;
  real.Load();
  Fill(real);
  EXPECT_TRUE(real.CheckFolderPage(prompt_));
  real.SetLocation(1);
  EXPECT_TRUE(real.CheckFolderPage(prompt_));
}

TEST_F(NewFolderSheetTest, EncryptionChecksRunInOrder) {
  NewFolderSheet sheet = Sheet();
  EXPECT_FALSE(sheet.CheckEncryptionPage(prompt_));
  EXPECT_EQ(prompt_.last().text, "A password is required to create new folder");

  sheet.SetPassword(u"one");
  sheet.SetRetype(u"two");
  sheet.SetTimeout({TimeoutBox::Ticked, 0, TimeoutUnit::Minutes});  // 56 comes first
  EXPECT_FALSE(sheet.CheckEncryptionPage(prompt_));
  EXPECT_EQ(prompt_.last().text, "Two passwords are not same. Try again.");
  EXPECT_EQ(sheet.retype(), u"");
  EXPECT_EQ(sheet.password(), u"one");

  sheet.SetRetype(u"one");
  sheet.SetTimeout({TimeoutBox::Ticked, 0, TimeoutUnit::Minutes});
  EXPECT_FALSE(sheet.CheckEncryptionPage(prompt_));
  EXPECT_EQ(prompt_.last().text, "Timeout must be greater then 0!");
  sheet.SetTimeout({TimeoutBox::Ticked, 3601, TimeoutUnit::Seconds});
  EXPECT_FALSE(sheet.CheckEncryptionPage(prompt_));
  EXPECT_EQ(prompt_.last().text, "Timeout is too large!");
  EXPECT_TRUE(sheet.marked(SheetPage::Encryption));

  sheet.SetTimeout({TimeoutBox::Clear, 0, TimeoutUnit::Seconds});
  EXPECT_TRUE(sheet.CheckEncryptionPage(prompt_));
  EXPECT_FALSE(sheet.marked(SheetPage::Encryption));
}

TEST_F(NewFolderSheetTest, OkStopsOnTheFirstFailingPageActiveFirst) {
  NewFolderSheet sheet = Sheet();
  sheet.SetName(u"Secret");
  EXPECT_EQ(sheet.ConfirmOk(SheetPage::Folder, prompt_), SheetPage::Encryption);
  EXPECT_EQ(prompt_.last().text, Text(kIdsPasswordRequired));

  sheet.SetName(u"");
  sheet.SetPassword(u"pw");
  sheet.SetRetype(u"pw");
  prompt_.Clear();
  EXPECT_EQ(sheet.ConfirmOk(SheetPage::Encryption, prompt_), SheetPage::Folder);
  ASSERT_EQ(prompt_.count(), 1u);
  EXPECT_EQ(prompt_.last().text, Text(kIdsNameRequired));
}

TEST_F(NewFolderSheetTest, RequestCarriesTheWholeRecordAndPassword) {
  NewFolderSheet sheet = Sheet();
  sheet.SetName(u"My.Data");
  sheet.SetSizeUnit(SizeUnit::MB);
  sheet.SetSizeValue(2);
  sheet.SetCipher(3);
  const std::u16string longPassword = u"a password of thirty characters";
  sheet.SetPassword(longPassword);
  sheet.SetRetype(longPassword);
  sheet.SetTimeout({TimeoutBox::Ticked, 2, TimeoutUnit::Minutes});
  ASSERT_EQ(sheet.ConfirmOk(SheetPage::Folder, prompt_), std::nullopt);

  NewFolderRequest request;
  ASSERT_TRUE(sheet.Result(request));
  EXPECT_EQ(platform::FieldText(request.record.path), u"\\My.Data.zsf");
  EXPECT_EQ(platform::FieldText(request.record.mountName), u"My.Data");
  EXPECT_EQ(request.record.algorithm, 6);
  EXPECT_EQ(request.record.timeoutSeconds, 120u);
  EXPECT_EQ(request.sizeKb, 2048u);
  EXPECT_EQ(request.password, longPassword);
}

TEST_F(NewFolderSheetTest, MarkedPageOrMissingPasswordYieldsNothing) {
  NewFolderSheet sheet = Sheet();
  Fill(sheet);
  ASSERT_EQ(sheet.ConfirmOk(SheetPage::Folder, prompt_), std::nullopt);
  sheet.CancelPage(SheetPage::Encryption);
  NewFolderRequest request;
  request.sizeKb = 99;
  EXPECT_FALSE(sheet.Result(request));
  EXPECT_EQ(request.sizeKb, 99u);

  // The sheet closed with OK never having checked a page: nothing either.
  NewFolderSheet unchecked = Sheet();
  unchecked.SetName(u"x");
  EXPECT_FALSE(unchecked.Result(request));
}

}  // namespace
}  // namespace folders
