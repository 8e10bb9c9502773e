// File operations: attributes, folders, delete, copy and move with Windows results.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/DevicePath.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/tests/TempDevice.h"

namespace platform {
namespace {

using Attributes = TempDevice;
using Folders = TempDevice;
using Delete = TempDevice;
using Copy = TempDevice;
using Move = TempDevice;
using DiskFree = TempDevice;

FilePath Dev(std::string_view p) {
  return ResolveDevicePath(p);
}

void MakeReadOnly(const std::string& host) {
  ::chmod(host.c_str(), 0444);
}

TEST_F(Attributes, FilesFoldersReadOnlyHiddenAndNormal) {
  Put("device/plain.txt");
  Put("device/.hidden");
  MakeReadOnly(Put("device/locked.txt"));
  MakeFolder("device/Folder");
  EXPECT_EQ(GetFileAttributes(Dev("\\plain.txt")), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(GetFileAttributes(Dev("\\.hidden")), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(GetFileAttributes(Dev("\\LOCKED.TXT")), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(GetFileAttributes(Dev("\\folder")), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributes(Dev("\\")), FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(Attributes, CardFolderIsTemporaryAndRomContentsAreInRom) {
  MountCard("Storage Card", "sd");
  MountRom("Windows", "rom");
  Put("sd/a.txt");
  Put("rom/calc.exe");
  MakeFolder("rom/fonts");
  EXPECT_EQ(GetFileAttributes(Dev("\\Storage Card")),
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY);
  EXPECT_EQ(GetFileAttributes(Dev("\\Storage Card\\a.txt")), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(GetFileAttributes(Dev("\\Windows")), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributes(Dev("\\Windows\\calc.exe")),
            FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(GetFileAttributes(Dev("\\Windows\\fonts")),
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_READONLY);
}

TEST_F(Attributes, MissingEntriesGiveInvalidAttributesAndTheCode) {
  EXPECT_EQ(GetFileAttributes(Dev("\\none.txt")), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetFileAttributes(Dev("\\none\\x.txt")), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(Attributes, ReadOnlyCanBeSetAndClearedButNotInRom) {
  Put("device/f.txt");
  ASSERT_EQ(SetFileAttributes(Dev("\\f.txt"), FILE_ATTRIBUTE_READONLY), 0u);
  EXPECT_EQ(GetFileAttributes(Dev("\\f.txt")), FILE_ATTRIBUTE_READONLY);
  ASSERT_EQ(SetFileAttributes(Dev("\\f.txt"), FILE_ATTRIBUTE_NORMAL), 0u);
  EXPECT_EQ(GetFileAttributes(Dev("\\f.txt")), FILE_ATTRIBUTE_NORMAL);
  MountRom("Windows", "rom");
  Put("rom/x.dll");
  EXPECT_EQ(SetFileAttributes(Dev("\\Windows\\x.dll"), FILE_ATTRIBUTE_NORMAL), ERROR_ACCESS_DENIED);
  EXPECT_EQ(SetFileAttributes(Dev("\\none"), FILE_ATTRIBUTE_NORMAL), ERROR_FILE_NOT_FOUND);
}

TEST_F(Attributes, InfoReportsSizeAndTimes) {
  const std::string host = Put("device/five.bin", "12345");
  std::filesystem::last_write_time(host,
                                   std::filesystem::file_time_type::clock::from_sys(
                                       std::chrono::sys_seconds(std::chrono::seconds(1000000000))));
  FileInfo info;
  ASSERT_EQ(GetFileInfo(Dev("\\FIVE.bin"), info), 0u);
  EXPECT_EQ(info.size, 5u);
  EXPECT_EQ(info.attributes, FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(UnixSecondsFromFileTime(info.lastWriteTime), 1000000000);
  EXPECT_EQ(info.lastWriteTime, FileTimeFromUnix(1000000000, 0));
}

TEST_F(Folders, CreateReportsAlreadyExistsAndMissingParent) {
  ASSERT_EQ(CreateDirectory(Dev("\\Infected")), 0u);
  EXPECT_EQ(GetFileAttributes(Dev("\\Infected")), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(CreateDirectory(Dev("\\Infected")), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(GetLastError(), 183u);
  EXPECT_EQ(CreateDirectory(Dev("\\INFECTED")), ERROR_ALREADY_EXISTS);
  Put("device/file.txt");
  EXPECT_EQ(CreateDirectory(Dev("\\file.txt")), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(CreateDirectory(Dev("\\a\\b")), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(GetLastError(), 3u);
}

TEST_F(Folders, MountsAndRomRefuseChanges) {
  MountCard("Storage Card", "sd");
  MountRom("Windows", "rom");
  EXPECT_EQ(CreateDirectory(Dev("\\Storage Card")), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(CreateDirectory(Dev("\\Storage Card\\New")), 0u);
  EXPECT_TRUE(Exists(Host("sd/New")));
  EXPECT_EQ(CreateDirectory(Dev("\\Windows\\New")), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RemoveDirectory(Dev("\\Storage Card")), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RemoveDirectory(Dev("\\")), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(Exists(Host("sd")));
}

TEST_F(Folders, RemoveNeedsAnEmptyFolder) {
  Put("device/full/x.txt");
  MakeFolder("device/empty");
  Put("device/file.txt");
  EXPECT_EQ(RemoveDirectory(Dev("\\full")), ERROR_DIR_NOT_EMPTY);
  EXPECT_EQ(RemoveDirectory(Dev("\\file.txt")), ERROR_DIRECTORY);
  EXPECT_EQ(RemoveDirectory(Dev("\\none")), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RemoveDirectory(Dev("\\EMPTY")), 0u);
  EXPECT_FALSE(Exists(Host("device/empty")));
}

TEST_F(Delete, RemovesFilesAndRefusesWhatWindowsRefuses) {
  Put("device/a.txt");
  MakeFolder("device/folder");
  MakeReadOnly(Put("device/ro.txt"));
  EXPECT_EQ(DeleteFile(Dev("\\A.TXT")), 0u);
  EXPECT_FALSE(Exists(Host("device/a.txt")));
  EXPECT_EQ(DeleteFile(Dev("\\a.txt")), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(DeleteFile(Dev("\\folder")), ERROR_ACCESS_DENIED);
  EXPECT_EQ(DeleteFile(Dev("\\ro.txt")), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(Exists(Host("device/ro.txt")));
  MountRom("Windows", "rom");
  Put("rom/x.dll");
  EXPECT_EQ(DeleteFile(Dev("\\Windows\\x.dll")), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(Exists(Host("rom/x.dll")));
}

TEST_F(Delete, FileOpenWithoutSharingCannotBeDeleted) {
  Put("device/busy.txt");
  File f;
  ASSERT_EQ(f.Open(Dev("\\busy.txt"), GENERIC_READ, 0, Disposition::OpenExisting), 0u);
  EXPECT_EQ(DeleteFile(Dev("\\busy.txt")), ERROR_SHARING_VIOLATION);
  f.Close();
  EXPECT_EQ(DeleteFile(Dev("\\busy.txt")), 0u);
}

TEST_F(Copy, FailIfExistsLeavesTheTargetAlone) {
  Put("device/src.txt", "new");
  const std::string dst = Put("device/dst.txt", "old");
  EXPECT_EQ(CopyFile(Dev("\\src.txt"), Dev("\\DST.TXT"), IfExists::Fail), ERROR_FILE_EXISTS);
  EXPECT_EQ(GetLastError(), 80u);
  EXPECT_EQ(Read(dst), "old");
}

TEST_F(Copy, ReplaceOverwritesAndNewTargetsAreCreated) {
  Put("device/src.txt", "new contents");
  const std::string dst = Put("device/dst.txt", "old");
  ASSERT_EQ(CopyFile(Dev("\\src.txt"), Dev("\\dst.txt"), IfExists::Replace), 0u);
  EXPECT_EQ(Read(dst), "new contents");
  ASSERT_EQ(CopyFile(Dev("\\src.txt"), Dev("\\Fresh.txt"), IfExists::Fail), 0u);
  EXPECT_EQ(Read(Host("device/Fresh.txt")), "new contents");
  EXPECT_EQ(Read(Host("device/src.txt")), "new contents");
}

TEST_F(Copy, KeepsReadOnlyAndLastWriteTimeAndLeavesNoTemporaryFile) {
  const std::string src = Put("device/src.txt", "x");
  std::filesystem::last_write_time(src,
                                   std::filesystem::file_time_type::clock::from_sys(
                                       std::chrono::sys_seconds(std::chrono::seconds(1200000000))));
  MakeReadOnly(src);
  ASSERT_EQ(CopyFile(Dev("\\src.txt"), Dev("\\copy.txt"), IfExists::Fail), 0u);
  FileInfo info;
  ASSERT_EQ(GetFileInfo(Dev("\\copy.txt"), info), 0u);
  EXPECT_EQ(info.attributes, FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(UnixSecondsFromFileTime(info.lastWriteTime), 1200000000);
  size_t entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(Host("device"))) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 2u);
  // A read-only target is not replaced.
  Put("device/other.txt", "y");
  EXPECT_EQ(CopyFile(Dev("\\other.txt"), Dev("\\copy.txt"), IfExists::Replace),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(Read(Host("device/copy.txt")), "x");
}

TEST_F(Copy, MissingSourceFoldersAndSelfCopyFail) {
  Put("device/a.txt", "a");
  MakeFolder("device/folder");
  EXPECT_EQ(CopyFile(Dev("\\none.txt"), Dev("\\b.txt"), IfExists::Replace), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(CopyFile(Dev("\\a.txt"), Dev("\\none\\b.txt"), IfExists::Replace),
            ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(CopyFile(Dev("\\folder"), Dev("\\f2"), IfExists::Replace), ERROR_ACCESS_DENIED);
  EXPECT_EQ(CopyFile(Dev("\\a.txt"), Dev("\\folder"), IfExists::Replace), ERROR_ACCESS_DENIED);
  EXPECT_EQ(CopyFile(Dev("\\a.txt"), Dev("\\A.TXT"), IfExists::Replace), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(Read(Host("device/a.txt")), "a");
}

TEST_F(Copy, IntoRomIsRefusedAndOutOfRomWorks) {
  MountRom("Windows", "rom");
  Put("rom/calc.exe", "MZ");
  Put("device/a.txt");
  EXPECT_EQ(CopyFile(Dev("\\a.txt"), Dev("\\Windows\\a.txt"), IfExists::Fail), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(Exists(Host("rom/a.txt")));
  ASSERT_EQ(CopyFile(Dev("\\Windows\\calc.exe"), Dev("\\calc.exe"), IfExists::Fail), 0u);
  EXPECT_EQ(Read(Host("device/calc.exe")), "MZ");
}

TEST_F(Move, WithoutReplaceAnExistingTargetIsKept) {
  Put("device/a.txt", "a");
  Put("device/b.txt", "b");
  EXPECT_EQ(MoveFile(Dev("\\a.txt"), Dev("\\B.txt"), IfExists::Fail), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(Read(Host("device/a.txt")), "a");
  EXPECT_EQ(Read(Host("device/b.txt")), "b");
}

TEST_F(Move, ReplaceMovesOverAFileButNotAFolder) {
  Put("device/a.txt", "a");
  Put("device/b.txt", "b");
  MakeFolder("device/dir");
  ASSERT_EQ(MoveFile(Dev("\\a.txt"), Dev("\\b.txt"), IfExists::Replace), 0u);
  EXPECT_FALSE(Exists(Host("device/a.txt")));
  EXPECT_EQ(Read(Host("device/b.txt")), "a");
  EXPECT_EQ(MoveFile(Dev("\\b.txt"), Dev("\\dir"), IfExists::Replace), ERROR_ACCESS_DENIED);
  EXPECT_EQ(Read(Host("device/b.txt")), "a");
}

TEST_F(Move, FoldersMoveAndCaseOnlyRenamesWork) {
  Put("device/Old/x.txt", "x");
  MakeFolder("device/Target");
  ASSERT_EQ(MoveFile(Dev("\\old"), Dev("\\Target\\New"), IfExists::Fail), 0u);
  EXPECT_EQ(Read(Host("device/Target/New/x.txt")), "x");
  ASSERT_EQ(MoveFile(Dev("\\Target\\New\\x.txt"), Dev("\\Target\\New\\X.TXT"), IfExists::Fail), 0u);
  EXPECT_TRUE(Exists(Host("device/Target/New/X.TXT")));
  EXPECT_FALSE(Exists(Host("device/Target/New/x.txt")));
  EXPECT_EQ(MoveFile(Dev("\\none"), Dev("\\x"), IfExists::Fail), ERROR_FILE_NOT_FOUND);
}

TEST_F(Move, MountsAndRomStayPut) {
  MountCard("Storage Card", "sd");
  MountRom("Windows", "rom");
  Put("rom/calc.exe");
  Put("device/a.txt");
  EXPECT_EQ(MoveFile(Dev("\\Storage Card"), Dev("\\Elsewhere"), IfExists::Fail),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(MoveFile(Dev("\\Windows\\calc.exe"), Dev("\\calc.exe"), IfExists::Fail),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(MoveFile(Dev("\\a.txt"), Dev("\\Windows\\a.txt"), IfExists::Fail), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(Exists(Host("sd")));
  EXPECT_TRUE(Exists(Host("rom/calc.exe")));
  EXPECT_TRUE(Exists(Host("device/a.txt")));
}

TEST_F(Move, AcrossFileSystemsCopiesAndDeletes) {
  struct stat a {
  }, b{};
  if (::stat("/dev/shm", &b) != 0 || ::stat(home_.c_str(), &a) != 0 || a.st_dev == b.st_dev)
    GTEST_SKIP() << "no second file system to move to";
  std::string tmpl = "/dev/shm/qm_move_XXXXXX";
  ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
  ASSERT_EQ(AddDeviceMount({MountKind::Card, "Storage Card", tmpl}), 0u);
  Put("device/a.txt", "payload");
  MakeFolder("device/dir");
  const uint32_t fileRc = MoveFile(Dev("\\a.txt"), Dev("\\Storage Card\\a.txt"), IfExists::Fail);
  const uint32_t dirRc = MoveFile(Dev("\\dir"), Dev("\\Storage Card\\dir"), IfExists::Fail);
  const std::string moved = Read(tmpl + "/a.txt");
  std::filesystem::remove_all(tmpl);
  EXPECT_EQ(fileRc, 0u);
  EXPECT_EQ(moved, "payload");
  EXPECT_FALSE(Exists(Host("device/a.txt")));
  EXPECT_EQ(dirRc, ERROR_NOT_SAME_DEVICE);
  EXPECT_TRUE(Exists(Host("device/dir")));
}

TEST_F(DiskFree, ReportsTheVolumeOfAPath) {
  DiskSpace space;
  ASSERT_EQ(GetDiskFreeSpace(Dev("\\"), space), 0u);
  EXPECT_GT(space.total, 0u);
  EXPECT_LE(space.freeToCaller, space.total);
  EXPECT_LE(space.totalFree, space.total);
  MountRom("Windows", "rom");
  ASSERT_EQ(GetDiskFreeSpace(Dev("\\Windows"), space), 0u);
  EXPECT_EQ(space.freeToCaller, 0u);
  const DiskSpace before = space;
  EXPECT_EQ(GetDiskFreeSpace(Dev("\\none\\x"), space), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(space.total, before.total);
}

}  // namespace
}  // namespace platform
