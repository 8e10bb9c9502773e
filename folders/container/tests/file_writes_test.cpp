// Whole writes, and the writer thread that takes them off the caller.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "folders/container/FileWrites.h"
#include "platform/Errors.h"
#include "platform/tests/TempDevice.h"

namespace folders {
namespace {

using FileWrites = platform::TempDevice;

platform::FilePath Open(platform::File& file, const std::string& host, uint32_t access) {
  const platform::FilePath path = platform::HostFilePath(host);
  EXPECT_EQ(file.Open(path, access, 0, platform::Disposition::OpenAlways), 0u);
  return path;
}

TEST_F(FileWrites, BuffersReachTheFileWholeAndInOrderWhileTheCallerReusesTwo) {
  platform::File file;
  Open(file, Host("out.bin"), platform::GENERIC_WRITE);
  std::string expected;
  {
    BackgroundWriter writer(file);
    std::vector<uint8_t> halves[2] = {std::vector<uint8_t>(100000), std::vector<uint8_t>(100000)};
    for (int pass = 0; pass < 40; ++pass) {
      // The caller may refill the buffer it handed over two writes ago.
      std::vector<uint8_t>& buffer = halves[pass % 2];
      for (size_t n = 0; n < buffer.size(); ++n) buffer[n] = static_cast<uint8_t>(pass * 7 + n);
      const size_t length = pass == 39 ? 1234 : buffer.size();
      expected.append(reinterpret_cast<const char*>(buffer.data()), length);
      ASSERT_EQ(writer.Write({buffer.data(), length}), 0u);
    }
    EXPECT_EQ(writer.Finish(), 0u);
  }
  file.Close();
  EXPECT_TRUE(Read(Host("out.bin")) == expected);
}

TEST_F(FileWrites, FirstFailureIsKeptAndStopsLaterWrites) {
  Put("ro.bin", "before");
  platform::File file;
  Open(file, Host("ro.bin"), platform::GENERIC_READ);  // no write access
  BackgroundWriter writer(file);
  const std::vector<uint8_t> bytes(4096, 0xAB);
  EXPECT_EQ(writer.Write(bytes), 0u);  // started; its failure shows later
  EXPECT_EQ(writer.Write(bytes), platform::ERROR_ACCESS_DENIED);
  EXPECT_EQ(writer.Finish(), platform::ERROR_ACCESS_DENIED);
  file.Close();
  EXPECT_EQ(Read(Host("ro.bin")), "before");
}

TEST_F(FileWrites, DestroyedWriterWaitsForTheWriteInFlight) {
  platform::File file;
  Open(file, Host("late.bin"), platform::GENERIC_WRITE);
  std::vector<uint8_t> bytes(1 << 20, 0x5A);
  {
    BackgroundWriter writer(file);
    ASSERT_EQ(writer.Write(bytes), 0u);
  }
  // Only now may the buffer go: the writer is done with it.
  bytes.assign(bytes.size(), 0);
  file.Close();
  EXPECT_EQ(Read(Host("late.bin")), std::string(1 << 20, '\x5A'));
}

TEST_F(FileWrites, WriteAllCountsAShortWriteAsAFullDisk) {
  if (!Exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  platform::File file;
  ASSERT_EQ(file.Open(platform::HostFilePath("/dev/full"), platform::GENERIC_WRITE,
                      platform::FILE_SHARE_READ | platform::FILE_SHARE_WRITE,
                      platform::Disposition::OpenExisting),
            0u);
  const std::vector<uint8_t> bytes(100, 1);
  const uint32_t rc = WriteAll(file, bytes);
  EXPECT_TRUE(rc == platform::ERROR_DISK_FULL || rc == platform::ERROR_HANDLE_DISK_FULL) << rc;
}

}  // namespace
}  // namespace folders
