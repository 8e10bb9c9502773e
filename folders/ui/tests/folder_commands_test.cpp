// Open, Delete and the creation job against a private handheld with the folder driver.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <filesystem>
#include <fstream>

#include "folders/container/CipherLibrary.h"
#include "folders/container/Container.h"
#include "folders/strings/FoldersStrings.h"
#include "folders/ui/CreationWorkers.h"
#include "folders/ui/FolderCommands.h"
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

std::string Utf8(uint32_t id) {
  return FoldersTextUtf8(id);
}

class FolderCommands : public testing::FoldersProgramTest {
 protected:
  platform::ScriptedPrompt prompt_;
  FakeFrontEnd frontEnd_{prompt_};
  int refreshes_ = 0;
  RefreshList refresh_ = [this] { ++refreshes_; };
};

TEST_F(FolderCommands, OpenOnANonContainerShows61AndListsNothing) {
  std::ofstream(Host(u"\\My Documents\\notes.zsf")) << "not a container";
  EXPECT_EQ(OpenDeviceContainer(u"\\My Documents\\notes.zsf", frontEnd_, prompt_, refresh_),
            OpenResult::NotAContainer);
  EXPECT_EQ(prompt_.last().text, Utf8(kIdsNotAContainer));
  EXPECT_TRUE(ReadVolumeRows().empty());
}

TEST_F(FolderCommands, OpenListsTheContainerThenMountsAndRefreshesTwice) {
  MakeFolder(u"\\My Documents\\b.zsf", u"secret");
  ASSERT_EQ(DeleteVolumeEntry(u"\\My Documents\\b.zsf"), 0u);
  frontEnd_.password = u"secret";
  EXPECT_EQ(OpenHostFile(Host(u"\\My Documents\\b.zsf"), frontEnd_, prompt_, refresh_),
            OpenResult::Mounted);
  EXPECT_EQ(refreshes_, 2);
  ASSERT_EQ(frontEnd_.mountDialogs.size(), 1u);
  EXPECT_EQ(frontEnd_.mountDialogs[0], u"\\My Documents\\b.zsf");
  std::optional<VolumeRow> row = RowOf(u"\\My Documents\\b.zsf");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->state, VolumeState::Mounted);
  EXPECT_EQ(platform::FieldText(row->record.mountName), u"b");
  EXPECT_EQ(UnmountVolume(row->path), 1);
}

TEST_F(FolderCommands, OpenRefusesAHostFileOutsideTheHandheld) {
  const std::string outside = folder_.path() + "/elsewhere.zsf";
  std::ofstream(outside) << "x";
  EXPECT_EQ(OpenHostFile(outside, frontEnd_, prompt_, refresh_), OpenResult::Refused);
  EXPECT_EQ(prompt_.last().text, kOutsideDeviceText);
  EXPECT_TRUE(ReadVolumeRows().empty());
}

TEST_F(FolderCommands, DeleteAskedYesRemovesFileAndEntry) {
  MakeFolder(u"\\My Documents\\d.zsf", u"pw");
  prompt_.Answer(platform::IDYES);
  EXPECT_EQ(DeleteFolder(*RowOf(u"\\My Documents\\d.zsf"), prompt_), DeleteResult::Deleted);
  EXPECT_EQ(prompt_.last().text, Utf8(kIdsConfirmDelete) + "\\My Documents\\d.zsf'?");
  EXPECT_EQ(prompt_.last().buttons, platform::MB_YESNO);
  EXPECT_FALSE(fs::exists(Host(u"\\My Documents\\d.zsf")));
  EXPECT_TRUE(ReadVolumeRows().empty());
}

TEST_F(FolderCommands, DeleteAnsweredNoKeepsEverything) {
  MakeFolder(u"\\My Documents\\e.zsf", u"pw");
  prompt_.Answer(platform::IDNO);
  EXPECT_EQ(DeleteFolder(*RowOf(u"\\My Documents\\e.zsf"), prompt_), DeleteResult::Declined);
  EXPECT_TRUE(fs::exists(Host(u"\\My Documents\\e.zsf")));
  EXPECT_EQ(ReadVolumeRows().size(), 1u);
}

TEST_F(FolderCommands, DeleteOfAMissingFolderRemovesItsEntry) {
  MakeFolder(u"\\My Documents\\f.zsf", u"pw");
  fs::remove(Host(u"\\My Documents\\f.zsf"));
  std::optional<VolumeRow> row = RowOf(u"\\My Documents\\f.zsf");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->state, VolumeState::Missing);
  prompt_.Answer(platform::IDYES);
  EXPECT_EQ(DeleteFolder(*row, prompt_), DeleteResult::Deleted);
  EXPECT_TRUE(ReadVolumeRows().empty());
}

NewFolderRequest Request(std::u16string_view path, uint32_t sizeKb, uint16_t cipher = 3) {
  NewFolderRequest request;
  platform::CopyToField(request.record.path, path);
  platform::CopyToField(request.record.mountName, FolderBaseName(path));
  request.record.algorithm = cipher;
  request.sizeKb = sizeKb;
  request.password = u"a password longer than fifteen characters";
  return request;
}

TEST_F(FolderCommands, CreationWritesTheEntryAndKeepsTheWholePassword) {
  const NewFolderRequest request = Request(u"\\My Documents\\h.zsf", 256);
  EXPECT_EQ(CreateFolder(request, prompt_), 0);
  std::optional<VolumeRow> row = RowOf(u"\\My Documents\\h.zsf");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->sizeKb, 256u);
  EXPECT_TRUE(VerifyPassword(row->record, request.password));
  EXPECT_FALSE(VerifyPassword(row->record, request.password.substr(0, 15)));
}

TEST_F(FolderCommands, FailedCreationShowsItsMessageAndWritesNoEntry) {
  EXPECT_EQ(CreateFolder(Request(u"\\No Such Folder\\j.zsf", 256), prompt_), kCannotCreateFile);
  EXPECT_EQ(prompt_.last().text, Utf8(kIdsCannotFindFile));
  EXPECT_EQ(prompt_.last().caption, "Quillmark Coffer");
  // Without the cipher library nothing is created either.
  ::setenv("QM_MODULE_PATH", (folder_.path() + "/no-modules").c_str(), 1);
  EXPECT_EQ(CreateFolder(Request(u"\\My Documents\\i.zsf", 256), prompt_), kCipherLibraryMissing);
  ::setenv("QM_MODULE_PATH", bin_.c_str(), 1);
  EXPECT_EQ(prompt_.last().text, Utf8(kIdsNoCipherLibrary));
  EXPECT_TRUE(ReadVolumeRows().empty());
}

TEST_F(FolderCommands, EachWorkerCreatesFromItsOwnCopyOfTheRequest) {
  std::atomic<int> finished{0};
  std::atomic<int> failures{0};
  {
    CreationWorkers workers;
    NewFolderRequest request = Request(u"\\My Documents\\first.zsf", 512);
    workers.Start(request, prompt_, [&](int r) {
      failures += r != 0;
      ++finished;
    });
    // The caller reuses its request at once, as a second "New..." would.
    request = Request(u"\\My Documents\\second.zsf", 256, 6);
    workers.Start(request, prompt_, [&](int r) {
      failures += r != 0;
      ++finished;
    });
    workers.JoinAll();
    EXPECT_EQ(workers.Running(), 0u);
  }
  EXPECT_EQ(finished, 2);
  EXPECT_EQ(failures, 0);
  std::optional<VolumeRow> first = RowOf(u"\\My Documents\\first.zsf");
  std::optional<VolumeRow> second = RowOf(u"\\My Documents\\second.zsf");
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->sizeKb, 512u);
  EXPECT_EQ(first->record.algorithm, 3);
  EXPECT_EQ(second->sizeKb, 256u);
  EXPECT_EQ(second->record.algorithm, 6);
}

TEST_F(FolderCommands, WorkerIsCountedOutBeforeItsFinishedCall) {
  // The window hides its busy bar from the finished call's refresh; a worker
  // still counted there would leave the bar up after the last creation.
  CreationWorkers workers;
  std::atomic<size_t> runningSeen{99};
  workers.Start(Request(u"\\My Documents\\k.zsf", 256), prompt_,
                [&](int) { runningSeen = workers.Running(); });
  workers.JoinAll();
  EXPECT_EQ(runningSeen, 0u);
  EXPECT_TRUE(RowOf(u"\\My Documents\\k.zsf"));
}

}  // namespace
}  // namespace folders
