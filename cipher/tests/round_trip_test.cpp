// Every cipher: 512-byte sectors enciphered and restored, at every alignment.
#include <gtest/gtest.h>

#include <tuple>

#include "cipher/tests/ZSCryptLibrary.h"

namespace cipher::test {
namespace {

class RoundTrip : public testing::TestWithParam<std::tuple<std::string, size_t>> {};

TEST_P(RoundTrip, SectorEncryptThenDecryptRestoresIt) {
  const auto& [prefix, shift] = GetParam();
  const auto fn = Cipher(prefix);
  ASSERT_NE(fn.createKey, nullptr);
  std::vector<uint8_t> password;
  for (char16_t c : std::u16string(u"correct horse")) {
    password.push_back(static_cast<uint8_t>(c));
    password.push_back(static_cast<uint8_t>(c >> 8));
  }
  std::vector<uint8_t> plain(512);
  for (size_t n = 0; n < plain.size(); ++n) plain[n] = static_cast<uint8_t>(n * n + 3);

  // Both the data and the key object buffer sit at the shifted address.
  std::vector<uint8_t> dataStorage(512 + 4), keyStorage(1024 + 4);
  uint8_t* data = dataStorage.data() + shift;
  uint8_t* object = keyStorage.data() + shift;
  std::copy(plain.begin(), plain.end(), data);

  // A fresh key object per call, as the encrypted folders make one per sector.
  const auto length = static_cast<uint32_t>(password.size());
  fn.createKey(password.data(), length, object);
  const std::vector<uint8_t> keyBefore(object, object + 1024);
  EXPECT_EQ(fn.encrypt(data, 512, object), 512);
  if (prefix != "RC4_") {
    EXPECT_EQ(std::vector<uint8_t>(object, object + 1024), keyBefore)
        << "block ciphers only read the key object";
  }
  EXPECT_NE(std::vector<uint8_t>(data, data + 512), plain);
  fn.createKey(password.data(), length, object);
  EXPECT_EQ(fn.decrypt(data, 512, object), 512);
  EXPECT_EQ(std::vector<uint8_t>(data, data + 512), plain);
}

INSTANTIATE_TEST_SUITE_P(AllCiphers, RoundTrip,
                         testing::Combine(testing::ValuesIn(kPrefixes),
                                          testing::Values<size_t>(0, 1, 2, 3)),
                         [](const auto& info) {
                           std::string name = std::get<0>(info.param);
                           name.pop_back();
                           return name + "_shift" + std::to_string(std::get<1>(info.param));
                         });

}  // namespace
}  // namespace cipher::test
