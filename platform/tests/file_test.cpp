// Open files: dispositions, reading and writing, positions, access and share modes.
#include "platform/File.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <vector>

#include "platform/DevicePath.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/tests/TempDevice.h"

namespace platform {
namespace {

using Dispositions = TempDevice;
using FileIo = TempDevice;
using FileAccess = TempDevice;
using Sharing = TempDevice;

constexpr uint32_t kReadWrite = GENERIC_READ | GENERIC_WRITE;

FilePath Dev(std::string_view p) {
  return ResolveDevicePath(p);
}

std::span<const uint8_t> Bytes(std::string_view s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

std::string ReadAll(File& f) {
  std::string out;
  uint8_t buf[7];
  size_t n = 0;
  while (f.Read(buf, n) == 0 && n > 0) out.append(reinterpret_cast<char*>(buf), n);
  return out;
}

TEST_F(Dispositions, CreateNewFailsOnAnExistingFile) {
  const std::string host = Put("device/a.txt", "keep");
  File f;
  EXPECT_EQ(f.Open(Dev("\\A.txt"), kReadWrite, 0, Disposition::CreateNew), ERROR_FILE_EXISTS);
  EXPECT_FALSE(f.isOpen());
  EXPECT_EQ(Read(host), "keep");
  ASSERT_EQ(f.Open(Dev("\\b.txt"), kReadWrite, 0, Disposition::CreateNew), 0u);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_TRUE(Exists(Host("device/b.txt")));
}

TEST_F(Dispositions, CreateAlwaysEmptiesAnExistingFileAndReports183) {
  const std::string host = Put("device/a.txt", "old contents");
  File f;
  ASSERT_EQ(f.Open(Dev("\\a.txt"), GENERIC_WRITE, 0, Disposition::CreateAlways), 0u);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  f.Close();
  EXPECT_EQ(Read(host), "");
  ASSERT_EQ(f.Open(Dev("\\new.txt"), GENERIC_WRITE, 0, Disposition::CreateAlways), 0u);
  EXPECT_EQ(GetLastError(), 0u);
}

TEST_F(Dispositions, OpenAlwaysKeepsContentsAndReports183WhenItExisted) {
  const std::string host = Put("device/a.txt", "abc");
  File f;
  ASSERT_EQ(f.Open(Dev("\\a.txt"), kReadWrite, FILE_SHARE_READ, Disposition::OpenAlways), 0u);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(ReadAll(f), "abc");
  ASSERT_EQ(f.Open(Dev("\\fresh.txt"), kReadWrite, 0, Disposition::OpenAlways), 0u);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_TRUE(Exists(Host("device/fresh.txt")));
}

TEST_F(Dispositions, OpenAndTruncateExistingNeedTheFile) {
  Put("device/a.txt", "abc");
  File f;
  EXPECT_EQ(f.Open(Dev("\\none.txt"), GENERIC_READ, 0, Disposition::OpenExisting),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(f.Open(Dev("\\none.txt"), GENERIC_WRITE, 0, Disposition::TruncateExisting),
            ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(Exists(Host("device/none.txt")));
  EXPECT_EQ(f.Open(Dev("\\a.txt"), GENERIC_READ, 0, Disposition::TruncateExisting),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(Read(Host("device/a.txt")), "abc");
  ASSERT_EQ(f.Open(Dev("\\a.txt"), GENERIC_WRITE, 0, Disposition::TruncateExisting), 0u);
  f.Close();
  EXPECT_EQ(Read(Host("device/a.txt")), "");
  EXPECT_EQ(f.Open(Dev("\\none\\x.txt"), GENERIC_WRITE, 0, Disposition::CreateAlways),
            ERROR_PATH_NOT_FOUND);
}

TEST_F(Dispositions, ReadOnlyAttributeAtCreationStillLetsThisHandleWrite) {
  File f;
  ASSERT_EQ(
      f.Open(Dev("\\ro.txt"), GENERIC_WRITE, 0, Disposition::CreateNew, FILE_ATTRIBUTE_READONLY),
      0u);
  size_t n = 0;
  ASSERT_EQ(f.Write(Bytes("abc"), n), 0u);
  f.Close();
  EXPECT_EQ(Read(Host("device/ro.txt")), "abc");
  EXPECT_EQ(GetFileAttributes(Dev("\\ro.txt")), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(f.Open(Dev("\\ro.txt"), GENERIC_WRITE, 0, Disposition::OpenExisting),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(f.Open(Dev("\\ro.txt"), GENERIC_READ, 0, Disposition::CreateAlways),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(Read(Host("device/ro.txt")), "abc");
}

TEST_F(FileIo, ReadReturnsTheCountAndZeroAtTheEnd) {
  Put("device/a.bin", "0123456789");
  File f;
  ASSERT_EQ(f.Open(Dev("\\a.bin"), GENERIC_READ, FILE_SHARE_READ, Disposition::OpenExisting), 0u);
  uint8_t buf[4];
  size_t n = 0;
  ASSERT_EQ(f.Read(buf, n), 0u);
  EXPECT_EQ(n, 4u);
  uint64_t pos = 0;
  ASSERT_EQ(f.Seek(-3, SeekOrigin::End, &pos), 0u);
  EXPECT_EQ(pos, 7u);
  ASSERT_EQ(f.Read(buf, n), 0u);
  EXPECT_EQ(n, 3u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 3), "789");
  ASSERT_EQ(f.Read(buf, n), 0u);
  EXPECT_EQ(n, 0u);
}

TEST_F(FileIo, SeekBeforeTheStartFailsAndKeepsThePosition) {
  Put("device/a.bin", "0123456789");
  File f;
  ASSERT_EQ(f.Open(Dev("\\a.bin"), GENERIC_READ, 0, Disposition::OpenExisting), 0u);
  uint64_t pos = 0;
  ASSERT_EQ(f.Seek(5, SeekOrigin::Begin, &pos), 0u);
  EXPECT_EQ(f.Seek(-6, SeekOrigin::Current, &pos), ERROR_NEGATIVE_SEEK);
  EXPECT_EQ(f.Seek(INT64_MIN, SeekOrigin::Current, &pos), ERROR_NEGATIVE_SEEK);
  EXPECT_EQ(f.Seek(-11, SeekOrigin::End, &pos), ERROR_NEGATIVE_SEEK);
  EXPECT_EQ(pos, 5u);
  ASSERT_EQ(f.Seek(0, SeekOrigin::Current, &pos), 0u);
  EXPECT_EQ(pos, 5u);
}

TEST_F(FileIo, WritePastTheEndFillsWithZerosAndSetEndCuts) {
  File f;
  ASSERT_EQ(f.Open(Dev("\\c.bin"), kReadWrite, 0, Disposition::CreateAlways), 0u);
  size_t n = 0;
  ASSERT_EQ(f.Write(Bytes("ab"), n), 0u);
  ASSERT_EQ(f.Seek(4, SeekOrigin::Begin), 0u);
  ASSERT_EQ(f.Write(Bytes("z"), n), 0u);
  uint64_t size = 0;
  ASSERT_EQ(f.Size(size), 0u);
  EXPECT_EQ(size, 5u);
  ASSERT_EQ(f.Seek(3, SeekOrigin::Begin), 0u);
  ASSERT_EQ(f.SetEnd(), 0u);
  ASSERT_EQ(f.Size(size), 0u);
  EXPECT_EQ(size, 3u);
  ASSERT_EQ(f.Seek(8, SeekOrigin::Begin), 0u);
  ASSERT_EQ(f.SetEnd(), 0u);
  ASSERT_EQ(f.Flush(), 0u);
  f.Close();
  EXPECT_EQ(Read(Host("device/c.bin")), std::string("ab\0\0\0\0\0\0", 8));
}

TEST_F(FileAccess, EachHandleOnlyDoesWhatItWasOpenedFor) {
  Put("device/a.txt", "abc");
  File f;
  ASSERT_EQ(f.Open(Dev("\\a.txt"), GENERIC_READ, 0, Disposition::OpenExisting), 0u);
  size_t n = 0;
  EXPECT_EQ(f.Write(Bytes("x"), n), ERROR_ACCESS_DENIED);
  EXPECT_EQ(f.SetEnd(), ERROR_ACCESS_DENIED);
  ASSERT_EQ(f.Open(Dev("\\a.txt"), GENERIC_WRITE, 0, Disposition::OpenExisting), 0u);
  uint8_t buf[3];
  EXPECT_EQ(f.Read(buf, n), ERROR_ACCESS_DENIED);
  f.Close();
  EXPECT_EQ(Read(Host("device/a.txt")), "abc");
}

TEST_F(FileAccess, FoldersMountsAndRomAreNotOpenedForWriting) {
  MakeFolder("device/dir");
  MountCard("Storage Card", "sd");
  MountRom("Windows", "rom");
  Put("rom/calc.exe", "MZ");
  File f;
  EXPECT_EQ(f.Open(Dev("\\dir"), GENERIC_READ, 0, Disposition::OpenExisting), ERROR_ACCESS_DENIED);
  EXPECT_EQ(f.Open(Dev("\\Storage Card"), GENERIC_READ, 0, Disposition::OpenExisting),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(f.Open(Dev("\\Windows\\calc.exe"), kReadWrite, 0, Disposition::OpenExisting),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(f.Open(Dev("\\Windows\\new.txt"), kReadWrite, 0, Disposition::OpenAlways),
            ERROR_ACCESS_DENIED);
  EXPECT_FALSE(Exists(Host("rom/new.txt")));
  ASSERT_EQ(f.Open(Dev("\\windows\\CALC.EXE"), GENERIC_READ, 0, Disposition::OpenExisting), 0u);
  FileInfo info;
  ASSERT_EQ(f.Info(info), 0u);
  EXPECT_EQ(info.attributes, FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(info.size, 2u);
  ASSERT_EQ(f.Open(Dev("\\Storage Card\\x.txt"), kReadWrite, 0, Disposition::CreateNew), 0u);
  EXPECT_TRUE(Exists(Host("sd/x.txt")));
}

TEST_F(Sharing, AnOpenThatSharesNothingExcludesEveryOther) {
  Put("device/a.txt", "abc");
  File first, second;
  ASSERT_EQ(first.Open(Dev("\\a.txt"), GENERIC_READ, 0, Disposition::OpenExisting), 0u);
  EXPECT_EQ(second.Open(Dev("\\a.txt"), GENERIC_READ, FILE_SHARE_READ, Disposition::OpenExisting),
            ERROR_SHARING_VIOLATION);
  EXPECT_EQ(GetLastError(), 32u);
  EXPECT_EQ(second.Open(Dev("\\a.txt"), GENERIC_WRITE, 0, Disposition::CreateAlways),
            ERROR_SHARING_VIOLATION);
  EXPECT_EQ(Read(Host("device/a.txt")), "abc");
  first.Close();
  EXPECT_EQ(second.Open(Dev("\\a.txt"), GENERIC_READ, 0, Disposition::OpenExisting), 0u);
}

TEST_F(Sharing, OpensThatShareCoexist) {
  Put("device/a.txt", "abc");
  File a, b;
  ASSERT_EQ(a.Open(Dev("\\a.txt"), kReadWrite, FILE_SHARE_READ, Disposition::OpenExisting), 0u);
  ASSERT_EQ(b.Open(Dev("\\a.txt"), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                   Disposition::OpenExisting),
            0u);
  File c;
  EXPECT_EQ(c.Open(Dev("\\a.txt"), GENERIC_READ, 0, Disposition::OpenExisting),
            ERROR_SHARING_VIOLATION);
  File moved = std::move(a);
  EXPECT_FALSE(a.isOpen());
  EXPECT_TRUE(moved.isOpen());
}

}  // namespace
}  // namespace platform
