// Creating containers, checking their headers, passwords and the time-out field.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cipher/Rc4.h"
#include "folders/container/Md5.h"
#include "folders/container/tests/ContainerTest.h"
#include "platform/FileSystem.h"
#include "platform/testing/FileSizeLimit.h"

namespace folders {
namespace {

namespace fs = std::filesystem;
using testing::Le32;
using Create = testing::ContainerTest;
using HeaderCheck = testing::ContainerTest;
using Password = testing::ContainerTest;
using Timeout = testing::ContainerTest;

// PatchLe32: the bytes with one little-endian word replaced.
std::string PatchLe32(std::string bytes, size_t at, uint32_t v) {
  for (int k = 0; k < 4; ++k) bytes.at(at + k) = static_cast<char>(v >> (8 * k));
  return bytes;
}

TEST_F(Create, SmallestContainerIsHeaderAndFiveHundredTwelveSectors) {
  ASSERT_EQ(CreateContainer(Record("a.zsf", kCipherRc5), 256, u"secret"), 0);
  EXPECT_EQ(fs::file_size(HostFile("a.zsf")), 262196u);
}

TEST_F(Create, HeaderCarriesTheFormatFieldsAndTheDigestOfTheUtf16Password) {
  ASSERT_EQ(CreateContainer(Record("a.zsf", kCipherRijndael128, 300), 256, u"secret"), 0);
  const std::string bytes = Contents("a.zsf");
  ASSERT_GE(bytes.size(), kHeaderSize);
  EXPECT_EQ(Le32(bytes, 0), 1u);    // formatVersion
  EXPECT_EQ(Le32(bytes, 4), 512u);  // sectorCount: 256 KB × 2
  EXPECT_EQ(Le32(bytes, 8), 512u);  // sectorSize
  EXPECT_EQ(Le32(bytes, 12), 0u);   // reserved
  EXPECT_EQ(Le32(bytes, 16), 0u);
  EXPECT_EQ(Le32(bytes, 20), 0u);
  EXPECT_EQ(Le32(bytes, 24), 14u);   // headerConstant
  EXPECT_EQ(Le32(bytes, 28), 5u);    // algorithm
  EXPECT_EQ(Le32(bytes, 32), 300u);  // timeoutSeconds
  // MD5 of "s\0e\0c\0r\0e\0t\0", from an independent implementation.
  const uint8_t digest[16] = {0x09, 0x43, 0x3e, 0x18, 0x53, 0x38, 0x52, 0x70,
                              0xb5, 0x15, 0x11, 0x57, 0x1e, 0x35, 0xee, 0xca};
  EXPECT_EQ(bytes.substr(36, 16), std::string(reinterpret_cast<const char*>(digest), 16));
}

// The fill is one RC4 keystream over the password bytes, XORed onto a buffer
// that is never cleared between 1 MiB passes.
TEST_F(Create, DataAreaIsTheRunningRc4FillOfOneUnclearedBuffer) {
  const uint32_t sizeKb = 2304;  // two whole passes and a quarter of a third
  ASSERT_EQ(CreateContainer(Record("a.zsf", kCipherRc6), sizeKb, u"fill me"), 0);
  const std::string bytes = Contents("a.zsf");
  ASSERT_EQ(bytes.size(), kHeaderSize + sizeKb * 1024);

  const uint8_t key[] = {'f', 0, 'i', 0, 'l', 0, 'l', 0, ' ', 0, 'm', 0, 'e', 0};
  uint8_t keyObject[258];
  cipher::Rc4CreateKey(key, sizeof key, keyObject);
  std::vector<uint8_t> buffer(1 << 20, 0);
  std::string expected;
  for (uint32_t remaining = sizeKb * 1024; remaining > 0;) {
    cipher::Rc4Crypt(buffer.data(), static_cast<uint32_t>(buffer.size()), keyObject);
    const uint32_t step = std::min<uint32_t>(remaining, 1 << 20);
    expected.append(reinterpret_cast<const char*>(buffer.data()), step);
    remaining -= step;
  }
  EXPECT_TRUE(bytes.compare(kHeaderSize, std::string::npos, expected) == 0);
}

TEST_F(Create, SameParametersGiveIdenticalFilesAndAnotherPasswordDoesNot) {
  ASSERT_EQ(CreateContainer(Record("a.zsf", kCipherRc5, 60), 256, u"same"), 0);
  ASSERT_EQ(CreateContainer(Record("b.zsf", kCipherRc5, 60), 256, u"same"), 0);
  ASSERT_EQ(CreateContainer(Record("c.zsf", kCipherRc5, 60), 256, u"Same"), 0);
  EXPECT_TRUE(Contents("a.zsf") == Contents("b.zsf"));
  EXPECT_FALSE(Contents("a.zsf").substr(36) == Contents("c.zsf").substr(36));
}

TEST_F(Create, ReplacesAnExistingFile) {
  Put("device/My Documents/a.zsf", std::string(300000, 'x'));
  ASSERT_EQ(CreateContainer(Record("a.zsf", kCipherRc5), 256, u"secret"), 0);
  EXPECT_EQ(fs::file_size(HostFile("a.zsf")), 262196u);
  EXPECT_EQ(Contents("a.zsf").find("xxxxxxxx"), std::string::npos);
}

TEST_F(Create, EmptyPasswordIsRefusedBeforeAnyFileIsMade) {
  EXPECT_EQ(CreateContainer(Record("a.zsf", kCipherRc5), 256, u""), kEmptyPassword);
  EXPECT_FALSE(Exists(HostFile("a.zsf")));
}

TEST_F(Create, MissingCipherLibraryIsMinusOneAndMakesNoFile) {
  ::setenv("QM_MODULE_PATH", MakeFolder("empty").c_str(), 1);
  EXPECT_EQ(CreateContainer(Record("a.zsf", kCipherRc5), 256, u"secret"), kCipherLibraryMissing);
  EXPECT_FALSE(Exists(HostFile("a.zsf")));
}

TEST_F(Create, FileThatCannotBeCreatedIsMinusThree) {
  EXPECT_EQ(CreateContainer(Record("No Such Folder\\a.zsf", kCipherRc5), 256, u"secret"),
            kCannotCreateFile);
  // 4 GiB of data would not fit the header's 32-bit sizes.
  EXPECT_EQ(CreateContainer(Record("a.zsf", kCipherRc5), 4u << 20, u"secret"), kCannotCreateFile);
  EXPECT_FALSE(Exists(HostFile("a.zsf")));
}

TEST_F(Create, FullDiskPartWayEndsTheFillWithMinusThreeAndRemovesTheFile) {
  // A file size limit stands in for a disk that fills up during the second
  // pass of the fill; the fill must stop rather than go on or report success.
  int rc = 0;
  {
    const platform::testing::FileSizeLimit limit(1536 * 1024);
    ASSERT_TRUE(limit.ok());
    rc = CreateContainer(Record("a.zsf", kCipherRc5), 3000, u"secret");
  }
  EXPECT_EQ(rc, kCannotCreateFile);
  EXPECT_FALSE(Exists(HostFile("a.zsf")));
}

TEST_F(HeaderCheck, ValidContainerFillsTheRecord) {
  ASSERT_EQ(CreateContainer(Record("a.zsf", kCipherRc6, 120), 512, u"secret"), 0);
  VolumeRecord r{};
  ASSERT_EQ(ReadContainerHeader(r, u"\\My Documents\\a.zsf"), 1);
  EXPECT_EQ(r.sizeKb, 512u);  // (524288 + 52) / 1024: the header's bytes are lost
  EXPECT_EQ(r.algorithm, kCipherRc6);
  EXPECT_EQ(r.timeoutSeconds, 120u);
  const Md5Digest digest = ComputeMd5(PasswordBytes(u"secret"));
  EXPECT_TRUE(std::equal(digest.begin(), digest.end(), r.passwordDigest));
}

// Each case is a valid container patched or cut at a known place.
TEST_F(HeaderCheck, FilesThatAreNoContainerAreRejectedWithSizeAndCipherCleared) {
  ASSERT_EQ(CreateContainer(Record("good.zsf", kCipherRc5), 256, u"secret"), 0);
  const std::string good = Contents("good.zsf");
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"one byte short", good.substr(0, good.size() - 1)},
      {"one byte long", good + '\0'},
      {"algorithm 51", PatchLe32(good, 28, 51)},
      {"algorithm with a high half", PatchLe32(good, 28, 0x10003)},
      {"sector count off by one", PatchLe32(good, 4, 511)},
      {"sector size changed", PatchLe32(good, 8, 1024)},
      {"header only half there", good.substr(0, 30)},
      {"empty", ""},
  };
  for (const Case& c : cases) {
    Put("device/My Documents/bad.zsf", c.bytes);
    VolumeRecord r{};
    r.sizeKb = 99;
    r.algorithm = kCipherRc5;
    r.timeoutSeconds = 77;
    std::fill(std::begin(r.passwordDigest), std::end(r.passwordDigest), 0xA5);
    EXPECT_EQ(ReadContainerHeader(r, u"\\My Documents\\bad.zsf"), 0) << c.name;
    EXPECT_EQ(r.sizeKb, 0u) << c.name;
    EXPECT_EQ(r.algorithm, 0u) << c.name;
    // Digest and time-out are taken only from a header that passed.
    EXPECT_EQ(r.timeoutSeconds, 77u) << c.name;
    EXPECT_TRUE(std::all_of(std::begin(r.passwordDigest), std::end(r.passwordDigest),
                            [](uint8_t b) { return b == 0xA5; }))
        << c.name;
  }
}

TEST_F(HeaderCheck, MissingFileIsRejected) {
  VolumeRecord r{};
  r.sizeKb = 256;
  r.algorithm = kCipherRc5;
  EXPECT_EQ(ReadContainerHeader(r, u"\\My Documents\\none.zsf"), 0);
  EXPECT_EQ(r.sizeKb, 0u);
  EXPECT_EQ(r.algorithm, 0u);
}

// Version and constant are ignored, any cipher number up to 50 passes (7 has
// no cipher, which only mounting finds out), and the sizes need only agree.
TEST_F(HeaderCheck, IgnoredFieldsAndUnknownCiphersUpToFiftyPass) {
  ASSERT_EQ(CreateContainer(Record("good.zsf", kCipherRc5), 256, u"secret"), 0);
  const std::string good = Contents("good.zsf");
  for (uint32_t algorithm : {7u, 50u, 0u}) {
    std::string bytes = PatchLe32(PatchLe32(good, 0, 9), 24, 0);
    Put("device/My Documents/odd.zsf", PatchLe32(bytes, 28, algorithm));
    VolumeRecord r{};
    EXPECT_EQ(ReadContainerHeader(r, u"\\My Documents\\odd.zsf"), 1) << algorithm;
    EXPECT_EQ(r.algorithm, algorithm);
    EXPECT_EQ(r.sizeKb, 256u);
  }
  // 1024-byte sectors, 256 of them, and a file of that size: still agreed.
  const std::string big = PatchLe32(PatchLe32(good, 4, 256), 8, 1024);
  Put("device/My Documents/big.zsf", big);
  VolumeRecord r{};
  EXPECT_EQ(ReadContainerHeader(r, u"\\My Documents\\big.zsf"), 1);
  // The product is 32-bit: 2^23 sectors of 512 bytes wrap to 0, so a bare
  // header agrees with them (and reads as size 0, which lists as missing).
  Put("device/My Documents/wrap.zsf", PatchLe32(good, 4, 1u << 23).substr(0, kHeaderSize));
  EXPECT_EQ(ReadContainerHeader(r, u"\\My Documents\\wrap.zsf"), 1);
  EXPECT_EQ(r.sizeKb, 0u);
}

TEST_F(Password, RightPasswordIsAcceptedAndOthersRefused) {
  const VolumeRecord made = Record("a.zsf", kCipherRc5);
  ASSERT_EQ(CreateContainer(made, 256, u"Secret"), 0);
  const VolumeRecord r = Reread(made);
  EXPECT_TRUE(VerifyPassword(r, u"Secret"));
  EXPECT_FALSE(VerifyPassword(r, u"secret"));
  EXPECT_FALSE(VerifyPassword(r, u"Secret "));
}

// Only the first 8 characters take part in an RC5 key, but the digest covers
// the whole password, so its start alone is refused.
TEST_F(Password, StartOfALongPasswordIsRefusedThoughItGivesTheSameKey) {
  const std::u16string longPassword = u"twenty characters!!!";
  ASSERT_EQ(longPassword.size(), 20u);
  const VolumeRecord made = Record("a.zsf", kCipherRc5);
  ASSERT_EQ(CreateContainer(made, 256, longPassword), 0);
  const VolumeRecord r = Reread(made);
  EXPECT_TRUE(VerifyPassword(r, longPassword));
  EXPECT_FALSE(VerifyPassword(r, longPassword.substr(0, 8)));
  const std::string bytes = Contents("a.zsf");
  EXPECT_TRUE(Plaintext(bytes, kCipherRc5, longPassword) ==
              Plaintext(bytes, kCipherRc5, longPassword.substr(0, 8)));
}

TEST_F(Password, EmptyPasswordIsNeverRight) {
  VolumeRecord r{};
  const Md5Digest empty = ComputeMd5({});
  std::copy(empty.begin(), empty.end(), r.passwordDigest);
  EXPECT_FALSE(VerifyPassword(r, u""));
}

TEST_F(Timeout, TwoMinutesChangeExactlyTheFourTimeoutBytes) {
  const VolumeRecord made = Record("a.zsf", kCipherRijndael256, 30);
  ASSERT_EQ(CreateContainer(made, 256, u"secret"), 0);
  const std::string before = Contents("a.zsf");
  EXPECT_EQ(WriteContainerTimeout(made, 120), 1);
  const std::string after = Contents("a.zsf");
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(Le32(after, 32), 120u);
  std::vector<size_t> changed;
  for (size_t n = 0; n < after.size(); ++n)
    if (after[n] != before[n]) changed.push_back(n);
  EXPECT_EQ(changed, (std::vector<size_t>{32}));  // 30 → 120 differ in the low byte only
  EXPECT_EQ(Reread(made).timeoutSeconds, 120u);
}

TEST_F(Timeout, MissingFileFailsAndIsNotCreated) {
  EXPECT_EQ(WriteContainerTimeout(Record("none.zsf", kCipherRc5), 120), 0);
  EXPECT_FALSE(Exists(HostFile("none.zsf")));
}

TEST_F(Timeout, ReadOnlyContainerFailsAndIsUnchanged) {
  const VolumeRecord made = Record("a.zsf", kCipherRc5, 30);
  ASSERT_EQ(CreateContainer(made, 256, u"secret"), 0);
  const std::string before = Contents("a.zsf");
  ASSERT_EQ(platform::SetFileAttributes(platform::HostFilePath(HostFile("a.zsf")),
                                        platform::FILE_ATTRIBUTE_READONLY),
            0u);
  EXPECT_EQ(WriteContainerTimeout(made, 120), 0);
  EXPECT_TRUE(Contents("a.zsf") == before);
}

}  // namespace
}  // namespace folders
