// The cipher library bound at run time: prefixes, search order and refusals.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "folders/container/CipherLibrary.h"
#include "folders/container/tests/ContainerTest.h"

namespace folders {
namespace {

namespace fs = std::filesystem;
using CipherLibraryTest = testing::ContainerTest;

TEST(CipherLibrary, PrefixesFollowTheCipherTable) {
  EXPECT_STREQ(CipherPrefix(2), "RC4_");
  EXPECT_STREQ(CipherPrefix(3), "RC5_");
  EXPECT_STREQ(CipherPrefix(4), "RC6_");
  EXPECT_STREQ(CipherPrefix(5), "RJ128_");
  EXPECT_STREQ(CipherPrefix(6), "RJ256_");
  for (uint16_t none : {0, 1, 7, 50, 51, 0xFFFF}) EXPECT_EQ(CipherPrefix(none), nullptr) << none;
}

TEST_F(CipherLibraryTest, EachCipherLoadsAndRoundTripsASector) {
  const std::u16string password = u"sector key";
  for (uint16_t cipher : {2, 3, 4, 5, 6}) {
    CipherLibrary library;
    ASSERT_EQ(library.Load(cipher), 0) << cipher;
    EXPECT_TRUE(library.loaded());
    uint8_t sector[kSectorSize];
    for (size_t n = 0; n < kSectorSize; ++n) sector[n] = static_cast<uint8_t>(n * 13);
    alignas(8) uint8_t key[1024] = {};
    library.CreateKey(PasswordBytes(password), key);
    EXPECT_EQ(library.Encrypt(sector, key), static_cast<int>(kSectorSize)) << cipher;
    size_t changed = 0;
    for (size_t n = 0; n < kSectorSize; ++n) changed += sector[n] != static_cast<uint8_t>(n * 13);
    EXPECT_GT(changed, kSectorSize / 2) << cipher;
    library.CreateKey(PasswordBytes(password), key);
    library.Decrypt(sector, key);
    for (size_t n = 0; n < kSectorSize; ++n)
      ASSERT_EQ(sector[n], static_cast<uint8_t>(n * 13)) << cipher << " byte " << n;
  }
}

TEST_F(CipherLibraryTest, MissingLibraryIsMinusOne) {
  ::setenv("QM_MODULE_PATH", MakeFolder("empty").c_str(), 1);
  CipherLibrary library;
  EXPECT_EQ(library.Load(kCipherRc5), kCipherLibraryMissing);
  EXPECT_FALSE(library.loaded());
}

TEST_F(CipherLibraryTest, CipherWithoutFunctionsIsMinusTwoAndReleasesTheLibrary) {
  CipherLibrary library;
  ASSERT_EQ(library.Load(kCipherRc5), 0);
  EXPECT_EQ(library.Load(7), kCipherNotSupported);
  EXPECT_FALSE(library.loaded());
  EXPECT_EQ(library.Load(0), kCipherNotSupported);
}

TEST_F(CipherLibraryTest, LibraryInTheDeviceWindowsFolderIsFound) {
  ::setenv("QM_MODULE_PATH", MakeFolder("empty").c_str(), 1);
  MakeFolder("device/Windows");
  fs::copy_file(testing::BinFolder() + "/ZSCrypt.so", Host("device/Windows/ZSCrypt.so"));
  CipherLibrary library;
  EXPECT_EQ(library.Load(kCipherRijndael256), 0);
}

// The key takes only the first 16 (RC5, Rijndael-128) or 32 bytes (RC6,
// Rijndael-256) of the password, so a long password and its start share one
// key object while their digests differ.
TEST_F(CipherLibraryTest, PasswordBeyondTheKeyLengthGivesTheSameKeyObject) {
  const std::u16string longPassword = u"abcdefghijklmnopqrst";  // 20 characters
  struct Case {
    uint16_t cipher;
    size_t keyChars;
  };
  for (const Case c : {Case{kCipherRc5, 8}, Case{kCipherRijndael128, 8}, Case{kCipherRc6, 16},
                       Case{kCipherRijndael256, 16}}) {
    CipherLibrary library;
    ASSERT_EQ(library.Load(c.cipher), 0);
    alignas(8) uint8_t whole[1024] = {};
    alignas(8) uint8_t start[1024] = {};
    alignas(8) uint8_t shorter[1024] = {};
    library.CreateKey(PasswordBytes(longPassword), whole);
    library.CreateKey(PasswordBytes(std::u16string_view(longPassword).substr(0, c.keyChars)),
                      start);
    library.CreateKey(PasswordBytes(std::u16string_view(longPassword).substr(0, c.keyChars - 1)),
                      shorter);
    EXPECT_EQ(std::memcmp(whole, start, sizeof whole), 0) << c.cipher;
    EXPECT_NE(std::memcmp(whole, shorter, sizeof whole), 0) << c.cipher;
  }
}

}  // namespace
}  // namespace folders
