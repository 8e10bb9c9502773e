// The folder program's command line: parsing, and each form against a private handheld.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <mutex>

#include "folders/dialogs/FolderLocations.h"
#include "folders/strings/FoldersStrings.h"
#include "folders/ui/FolderCommands.h"
#include "folders/ui/FoldersCommandLine.h"
#include "folders/ui/tests/FakeFrontEnd.h"
#include "folders/ui/tests/FoldersProgramTest.h"
#include "folders/volumes/Mount.h"
#include "folders/volumes/VolumeList.h"
#include "platform/ScriptedPrompt.h"
#include "platform/Text.h"

namespace folders {
namespace {

namespace fs = std::filesystem;
using testing::FakeFrontEnd;

TEST(FoldersCommandLineParse, ReadsTheThreeFormsAndTurnsSlashesIntoBackslashes) {
  FoldersCommandLine u = ParseFoldersCommandLine(u"-u:/My Documents/a.zsf");
  EXPECT_EQ(u.form, CommandForm::Unmount);
  EXPECT_EQ(u.path, u"\\My Documents\\a.zsf");

  FoldersCommandLine c = ParseFoldersCommandLine(u"-c:\\My Documents\\b.zsf:512");
  EXPECT_EQ(c.form, CommandForm::Create);
  EXPECT_EQ(c.path, u"\\My Documents\\b.zsf");
  EXPECT_EQ(c.sizeKb, 512u);

  FoldersCommandLine m = ParseFoldersCommandLine(u"  My Documents/c.zsf ");
  EXPECT_EQ(m.form, CommandForm::Mount);
  EXPECT_EQ(m.path, u"\\My Documents\\c.zsf");

  EXPECT_EQ(ParseFoldersCommandLine(u"   ").form, CommandForm::None);
}

TEST(FoldersCommandLineParse, PathsKeepTheirHyphensAndColons) {
  FoldersCommandLine u = ParseFoldersCommandLine(u"-u:\\My Documents\\my-notes.zsf");
  EXPECT_EQ(u.path, u"\\My Documents\\my-notes.zsf");
  FoldersCommandLine c = ParseFoldersCommandLine(u"-c:\\My Documents\\a-b:c.zsf:1024");
  EXPECT_EQ(c.path, u"\\My Documents\\a-b:c.zsf");
  EXPECT_EQ(c.sizeKb, 1024u);
  FoldersCommandLine m = ParseFoldersCommandLine(u"\\x-y\\z.zsf");
  EXPECT_EQ(m.form, CommandForm::Mount);
  EXPECT_EQ(m.path, u"\\x-y\\z.zsf");
}

TEST(FoldersCommandLineParse, SizeThatIsNoNumberReadsAsZero) {
  EXPECT_EQ(ParseFoldersCommandLine(u"-c:\\a.zsf:big").sizeKb, 0u);
  EXPECT_EQ(ParseFoldersCommandLine(u"-c:\\a.zsf").sizeKb, 0u);
  EXPECT_EQ(ParseFoldersCommandLine(u"-c:\\a.zsf").path, u"\\a.zsf");
  EXPECT_EQ(ParseFoldersCommandLine(u"-c:\\a.zsf:99999999999").sizeKb, 0xFFFFFFFFu);
}

class FoldersCommandLineRun : public testing::FoldersProgramTest {
 protected:
  int Run(std::u16string_view text) {
    return RunFoldersCommandLine(ParseFoldersCommandLine(text), frontEnd_, prompt_, lock_);
  }

  platform::ScriptedPrompt prompt_;
  FakeFrontEnd frontEnd_{prompt_};
  std::mutex lock_;
};

TEST_F(FoldersCommandLineRun, MissingFileEndsWith63InEveryForm) {
  for (std::u16string_view text : {u"-u:/My Documents/none.zsf", u"-c:/My Documents/none.zsf:512",
                                   u"/My Documents/none.zsf"}) {
    prompt_.Clear();
    EXPECT_EQ(Run(text), 1);
    EXPECT_EQ(prompt_.last().text, "Specified file not found!\nCheck path.");
    EXPECT_EQ(prompt_.last().caption, "Quillmark Coffer");
  }
  EXPECT_TRUE(frontEnd_.sheetCaptions.empty());
  EXPECT_TRUE(frontEnd_.mountDialogs.empty());
}

TEST_F(FoldersCommandLineRun, UnmountReleasesTheMountedFolder) {
  VolumeRecord record = MakeFolder(u"\\My Documents\\my-notes.zsf", u"pw");
  ASSERT_NE(MountVolume(record, u"pw", prompt_), 0u);
  ASSERT_EQ(RowOf(u"\\My Documents\\my-notes.zsf")->state, VolumeState::Mounted);
  EXPECT_EQ(Run(u"-u:/My Documents/my-notes.zsf"), 0);
  EXPECT_EQ(RowOf(u"\\My Documents\\my-notes.zsf")->state, VolumeState::NotMounted);
  EXPECT_EQ(prompt_.count(), 0u);
}

TEST_F(FoldersCommandLineRun, CreateShowsTheSheetAndUsesTheCommandLineSize) {
  MakeFolder(u"\\My Documents\\new.zsf", u"old");
  NewFolderRequest answer;
  platform::CopyToField(answer.record.path, u"\\My Documents\\chosen.zsf");
  platform::CopyToField(answer.record.mountName, u"chosen");
  answer.record.algorithm = 5;
  answer.sizeKb = 256;  // the sheet's own size is not the one used
  answer.password = u"pw";
  frontEnd_.sheetAnswer = answer;
  EXPECT_EQ(Run(u"-c:/My Documents/new.zsf:768"), 0);
  ASSERT_EQ(frontEnd_.sheetCaptions.size(), 1u);
  EXPECT_EQ(frontEnd_.sheetCaptions[0], u"New Folder");
  EXPECT_EQ(frontEnd_.sheetPaths[0], u"\\My Documents\\new.zsf");
  std::optional<VolumeRow> row = RowOf(u"\\My Documents\\chosen.zsf");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->sizeKb, 768u);
  EXPECT_EQ(row->record.algorithm, 5);
}

TEST_F(FoldersCommandLineRun, CreateCancelledOrTooSmallCreatesNothing) {
  MakeFolder(u"\\My Documents\\new.zsf", u"old");
  EXPECT_EQ(Run(u"-c:/My Documents/new.zsf:512"), 1);  // sheet cancelled
  NewFolderRequest answer;
  platform::CopyToField(answer.record.path, u"\\My Documents\\small.zsf");
  answer.record.algorithm = 3;
  answer.password = u"pw";
  frontEnd_.sheetAnswer = answer;
  EXPECT_EQ(Run(u"-c:/My Documents/new.zsf:100"), 1);
  EXPECT_EQ(prompt_.last().text, "Too small disk size specified!");
  EXPECT_FALSE(fs::exists(Host(u"\\My Documents\\small.zsf")));
  EXPECT_EQ(ReadVolumeRows().size(), 1u);
}

TEST_F(FoldersCommandLineRun, CreateLargerThanTheFreeSpaceGives58AndWritesNothing) {
  MakeFolder(u"\\My Documents\\new.zsf", u"old");
  const std::optional<uint64_t> freeBytes = LocationFreeBytes(u"\\My Documents");
  ASSERT_TRUE(freeBytes);
  // Twice the free space, so that other writers on the volume cannot make it fit.
  const uint64_t tooLargeKb = *freeBytes / 1024 * 2 + 1024;
  if (tooLargeKb > 0xFFFFFFFFu) GTEST_SKIP() << "more free space than a size can name";
  NewFolderRequest answer;
  platform::CopyToField(answer.record.path, u"\\My Documents\\huge.zsf");
  answer.record.algorithm = 3;
  answer.sizeKb = 256;  // what the sheet checked; the command line's size is the one used
  answer.password = u"pw";
  frontEnd_.sheetAnswer = answer;
  EXPECT_EQ(Run(u"-c:/My Documents/new.zsf:" + platform::Utf8ToUtf16(std::to_string(tooLargeKb))),
            1);
  EXPECT_EQ(prompt_.last().text, "Cannot create new file.\nNot enought free space");
  EXPECT_FALSE(fs::exists(Host(u"\\My Documents\\huge.zsf")));
  EXPECT_EQ(ReadVolumeRows().size(), 1u);
}

TEST_F(FoldersCommandLineRun, PathShowsTheMountDialogOfItsEntry) {
  MakeFolder(u"\\My Documents\\m.zsf", u"pw", 4, 256, u"Mounted here");
  frontEnd_.password = u"pw";
  EXPECT_EQ(Run(u"/my documents/m.zsf"), 0);
  ASSERT_EQ(frontEnd_.mountDialogs.size(), 1u);
  EXPECT_EQ(frontEnd_.mountDialogs[0], u"\\My Documents\\m.zsf");
  std::optional<VolumeRow> row = RowOf(u"\\My Documents\\m.zsf");
  EXPECT_EQ(row->state, VolumeState::Mounted);
  // Already mounted: no second device over the same file.
  EXPECT_EQ(Run(u"/My Documents/m.zsf"), 1);
  EXPECT_EQ(frontEnd_.mountDialogs.size(), 1u);
  UnmountVolume(u"\\My Documents\\m.zsf");
}

TEST_F(FoldersCommandLineRun, UnlistedPathIsOpenedAndNonContainerGives61) {
  MakeFolder(u"\\My Documents\\u.zsf", u"pw");
  ASSERT_EQ(DeleteVolumeEntry(u"\\My Documents\\u.zsf"), 0u);
  EXPECT_EQ(Run(u"/My Documents/u.zsf"), 1);  // dialog cancelled, but listed now
  EXPECT_EQ(frontEnd_.mountDialogs.size(), 1u);
  EXPECT_TRUE(RowOf(u"\\My Documents\\u.zsf"));

  std::ofstream(Host(u"\\My Documents\\text.zsf")) << "plain text";
  EXPECT_EQ(Run(u"/My Documents/text.zsf"), 1);
  EXPECT_EQ(prompt_.last().text, "This is not a Quillmark Security file!");
  EXPECT_FALSE(RowOf(u"\\My Documents\\text.zsf"));
}

}  // namespace
}  // namespace folders
