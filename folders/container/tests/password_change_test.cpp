// Changing a container's password: every sector re-enciphered, all or nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "folders/container/tests/ContainerTest.h"
#include "platform/Errors.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

namespace folders {
namespace {

namespace fs = std::filesystem;
using testing::Le32;

constexpr std::u16string_view kOld = u"old password";
constexpr std::u16string_view kNew = u"a new and longer password";
constexpr uint32_t kSectors = 512;  // a 256 KB container

class PasswordChange : public testing::ContainerTest {
 protected:
  // Make: a 256 KB container "\My Documents\<name>" under kOld, its record
  // as read back, and its bytes and plaintext before any change.
  VolumeRecord Make(std::string_view name, uint16_t cipher) {
    const VolumeRecord made = Record(name, cipher);
    EXPECT_EQ(CreateContainer(made, 256, kOld), 0);
    before_ = Contents(name);
    plain_ = Plaintext(before_, cipher, kOld);
    EXPECT_EQ(plain_.size(), kSectors * kSectorSize);
    return Reread(made);
  }

  // ExpectChangedTo: the container now holds the same plaintext under the
  // new password, with only the digest changed in its header.
  void ExpectChangedTo(const VolumeRecord& record, std::string_view name) {
    const std::string after = Contents(name);
    ASSERT_EQ(after.size(), before_.size());
    EXPECT_TRUE(after.compare(0, 36, before_, 0, 36) == 0);
    EXPECT_FALSE(after.compare(kHeaderSize, std::string::npos, before_, kHeaderSize,
                               std::string::npos) == 0);
    EXPECT_TRUE(Plaintext(after, record.algorithm, kNew) == plain_);
    const VolumeRecord reread = Reread(record);
    EXPECT_FALSE(VerifyPassword(reread, kOld));
    EXPECT_TRUE(VerifyPassword(reread, kNew));
    EXPECT_FALSE(Exists(HostFile(std::string(name) + ".tmp")));
  }

  void ExpectUntouched(std::string_view name) {
    EXPECT_TRUE(Contents(name) == before_);
    EXPECT_FALSE(Exists(HostFile(std::string(name) + ".tmp")));
  }

  std::string before_;
  std::string plain_;
};

TEST_F(PasswordChange, EverySectorKeepsItsPlaintextUnderEachCipher) {
  for (uint16_t cipher : {kCipherRc5, kCipherRc6, kCipherRijndael128, kCipherRijndael256}) {
    SCOPED_TRACE(cipher);
    const std::string name = "c" + std::to_string(cipher) + ".zsf";
    const VolumeRecord record = Make(name, cipher);
    ASSERT_TRUE(VerifyPassword(record, kOld));
    ASSERT_EQ(ChangeContainerPassword(record, kOld, kNew), 0);
    ExpectChangedTo(record, name);
  }
}

TEST_F(PasswordChange, EmptyPasswordsAreRefusedAndTheFileUntouched) {
  const VolumeRecord record = Make("a.zsf", kCipherRc5);
  EXPECT_EQ(ChangeContainerPassword(record, u"", kNew), kEmptyPassword);
  EXPECT_EQ(ChangeContainerPassword(record, kOld, u""), kEmptyPassword);
  ExpectUntouched("a.zsf");
}

TEST_F(PasswordChange, MissingCipherLibraryIsMinusOne) {
  const VolumeRecord record = Make("a.zsf", kCipherRc5);
  ::setenv("QM_MODULE_PATH", MakeFolder("empty").c_str(), 1);
  EXPECT_EQ(ChangeContainerPassword(record, kOld, kNew), kCipherLibraryMissing);
  ExpectUntouched("a.zsf");
}

TEST_F(PasswordChange, CipherNumberSevenIsMinusTwo) {
  Make("a.zsf", kCipherRc5);
  VolumeRecord record = Record("a.zsf", 7);
  EXPECT_EQ(ChangeContainerPassword(record, kOld, kNew), kCipherNotSupported);
  ExpectUntouched("a.zsf");
}

TEST_F(PasswordChange, MissingContainerIsMinusThree) {
  EXPECT_EQ(ChangeContainerPassword(Record("none.zsf", kCipherRc5), kOld, kNew), kCannotOpenFile);
  EXPECT_FALSE(Exists(HostFile("none.zsf")));
  EXPECT_FALSE(Exists(HostFile("none.zsf.tmp")));
}

// A container that may not be rewritten is refused, and no copy is left.
TEST_F(PasswordChange, ReadOnlyContainerIsMinusThreeAndUntouched) {
  const VolumeRecord record = Make("a.zsf", kCipherRc6);
  ASSERT_EQ(platform::SetFileAttributes(platform::HostFilePath(HostFile("a.zsf")),
                                        platform::FILE_ATTRIBUTE_READONLY),
            0u);
  EXPECT_EQ(ChangeContainerPassword(record, kOld, kNew), kCannotOpenFile);
  ExpectUntouched("a.zsf");
}

// The free-space query stands in for a volume of a chosen size: the change
// needs room for a whole second copy of the container.
uint64_t gFreeBytes = 0;
uint32_t FakeFreeSpace(const platform::FilePath&, uint64_t& bytesFree) {
  bytesFree = gFreeBytes;
  return 0;
}

TEST_F(PasswordChange, NoRoomForTheNewCopyIsRefusedAndTheFileUntouched) {
  const VolumeRecord record = Make("a.zsf", kCipherRijndael128);
  SetPasswordChangeHooks({.freeSpace = FakeFreeSpace});
  gFreeBytes = before_.size() - 1;
  EXPECT_EQ(ChangeContainerPassword(record, kOld, kNew), kNotEnoughRoom);
  ExpectUntouched("a.zsf");
  gFreeBytes = before_.size();
  EXPECT_EQ(ChangeContainerPassword(record, kOld, kNew), 0);
  ExpectChangedTo(record, "a.zsf");
}

TEST_F(PasswordChange, LeftoverCopyOfAnInterruptedChangeIsReplaced) {
  const VolumeRecord record = Make("a.zsf", kCipherRijndael256);
  Put("device/My Documents/a.zsf.tmp", std::string(1 << 20, 'x'));
  EXPECT_EQ(ChangeContainerPassword(record, kOld, kNew), 0);
  ExpectChangedTo(record, "a.zsf");
}

TEST_F(PasswordChange, CopyThatCannotBeMadeLeavesTheContainerUntouched) {
  const VolumeRecord record = Make("a.zsf", kCipherRc5);
  MakeFolder("device/My Documents/a.zsf.tmp");
  EXPECT_EQ(ChangeContainerPassword(record, kOld, kNew), kCannotOpenFile);
  EXPECT_TRUE(Contents("a.zsf") == before_);
  EXPECT_TRUE(fs::is_directory(HostFile("a.zsf.tmp")));
}

// A file longer than its sectors is no container, but a change still keeps
// the bytes that form no whole sector, as rewriting in place would.
TEST_F(PasswordChange, TailShorterThanASectorIsKept) {
  const VolumeRecord record = Make("a.zsf", kCipherRc5);
  const std::string tail(100, 't');
  { std::ofstream(HostFile("a.zsf"), std::ios::binary | std::ios::app) << tail; }
  EXPECT_EQ(ChangeContainerPassword(record, kOld, kNew), 0);
  const std::string after = Contents("a.zsf");
  ASSERT_EQ(after.size(), before_.size() + tail.size());
  EXPECT_EQ(after.substr(before_.size()), tail);
  EXPECT_TRUE(Plaintext(after, kCipherRc5, kNew) == plain_);
}

std::vector<uint32_t> gProgress;
std::string gWatched;
std::string gDigestAtLastCall;
void RecordProgress(uint32_t count) {
  gProgress.push_back(count);
  gDigestAtLastCall = platform::testing::TempFolder::Read(gWatched).substr(36, 16);
}

TEST_F(PasswordChange, ProgressReachesEverySectorBeforeTheContainerIsReplaced) {
  const VolumeRecord record = Make("a.zsf", kCipherRc6);
  gProgress.clear();
  gWatched = HostFile("a.zsf");
  SetPasswordChangeHooks({.sectorsWritten = RecordProgress});
  EXPECT_EQ(ChangeContainerPassword(record, kOld, kNew), 0);
  ASSERT_FALSE(gProgress.empty());
  EXPECT_TRUE(std::is_sorted(gProgress.begin(), gProgress.end()));
  EXPECT_EQ(gProgress.back(), kSectors);
  EXPECT_EQ(gDigestAtLastCall, before_.substr(36, 16));  // still the old container
  ExpectChangedTo(record, "a.zsf");
}

// Interruptions: the change runs in a child process that ends itself, without
// any clean-up, after a given number of sectors has reached the new copy.
class InterruptedChange : public PasswordChange, public ::testing::WithParamInterface<uint32_t> {
 protected:
  static std::string Tool() { return platform::ProgramFolder() + "/container_test_tool"; }

  // RunTool: starts the tool and returns what it wrote to its marker.
  std::string RunTool(const std::vector<std::string>& arguments) {
    const std::string marker = Host("marker.txt");
    fs::remove(marker);
    std::vector<std::string> all{marker};
    all.insert(all.end(), arguments.begin(), arguments.end());
    EXPECT_EQ(platform::StartProcess(Tool(), "", all), 0u);
    return WaitForMarker(marker);
  }

  static std::string WaitForMarker(const std::string& marker) {
    for (int i = 0; i < 6000; ++i) {
      if (fs::exists(marker)) return Read(marker);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "(no marker)";
  }

  // WaitUntilReleased: waits until no open of the suite holds the file, that
  // is until the process that wrote it has gone.
  static void WaitUntilReleased(const std::string& host) {
    for (int i = 0; i < 6000; ++i) {
      platform::File probe;
      if (probe.Open(platform::HostFilePath(host), platform::GENERIC_READ, 0,
                     platform::Disposition::OpenExisting) != platform::ERROR_SHARING_VIOLATION)
        return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ADD_FAILURE() << host << " stays held";
  }
};

TEST_P(InterruptedChange, OldContainerStaysWholeAndTheNextChangeSucceeds) {
  const uint32_t stopAfter = GetParam();
  const VolumeRecord record = Make("a.zsf", kCipherRijndael128);
  EXPECT_EQ(RunTool({"change", "\\My Documents\\a.zsf", "old password", "a new and longer password",
                     std::to_string(stopAfter)}),
            "stopped after " + std::to_string(stopAfter) + "\n");
  const std::string copy = HostFile("a.zsf.tmp");
  WaitUntilReleased(copy);
  // The child was caught part-way: its copy holds the header and exactly the
  // sectors it had written.
  EXPECT_EQ(fs::file_size(copy), kHeaderSize + uint64_t{stopAfter} * kSectorSize);

  const std::string after = Contents("a.zsf");
  EXPECT_TRUE(after == before_);
  const VolumeRecord reread = Reread(record);
  EXPECT_TRUE(VerifyPassword(reread, kOld));
  EXPECT_FALSE(VerifyPassword(reread, kNew));
  EXPECT_TRUE(Plaintext(after, kCipherRijndael128, kOld) == plain_);

  EXPECT_EQ(ChangeContainerPassword(reread, kOld, kNew), 0);
  ExpectChangedTo(record, "a.zsf");
}

// After the first run of sectors, in the middle, and with every sector
// written but the copy not yet in place.
INSTANTIATE_TEST_SUITE_P(StopPoints, InterruptedChange, ::testing::Values(128u, 384u, kSectors));

TEST_F(InterruptedChange, ChangeInAChildProcessRunsToTheEnd) {
  const VolumeRecord record = Make("a.zsf", kCipherRc5);
  EXPECT_EQ(
      RunTool({"change", "\\My Documents\\a.zsf", "old password", "a new and longer password"}),
      "result 0\n");
  ExpectChangedTo(record, "a.zsf");
}

// The shell lets the tool write at most 100 blocks of 512 bytes and ignores
// the signal for a larger file, so a write of the fill fails part-way.
TEST_F(InterruptedChange, FillWriteThatFailsEndsCreationAndRemovesThePartialFile) {
  const std::string script = Host("limited.sh");
  { std::ofstream(script) << "#!/bin/sh\ntrap '' XFSZ\nulimit -f 100\nexec \"$@\"\n"; }
  fs::permissions(script, fs::perms::owner_all);
  const std::string marker = Host("marker.txt");
  ASSERT_EQ(
      platform::StartProcess(
          script, "", {Tool(), marker, "create", "\\My Documents\\big.zsf", "1024", "3", "secret"}),
      0u);
  EXPECT_EQ(WaitForMarker(marker), "result " + std::to_string(kCannotCreateFile) + "\n");
  EXPECT_FALSE(Exists(HostFile("big.zsf")));
}

}  // namespace
}  // namespace folders
