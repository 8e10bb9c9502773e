// Known answers for every cipher, through the exported functions.
#include <gtest/gtest.h>

#include <set>

#include "cipher/tests/VectorFile.h"
#include "cipher/tests/ZSCryptLibrary.h"

namespace cipher::test {
namespace {

class KnownAnswer : public testing::TestWithParam<Vector> {};

TEST_P(KnownAnswer, EncryptGivesTheCipherTextAndDecryptRestoresThePlainText) {
  const Vector& v = GetParam();
  ASSERT_EQ(v.text.size(), 4u) << "line " << v.line;
  const auto fn = Cipher(v.text[0]);
  ASSERT_NE(fn.createKey, nullptr) << v.text[0];
  auto key = v.bytes[1];
  const auto& plain = v.bytes[2];
  const auto& expected = v.bytes[3];
  ASSERT_EQ(plain.size(), expected.size());

  // A fresh key object for each direction, as RC4's advances while it works.
  auto keyObject = NewKeyObject();
  fn.createKey(key.data(), static_cast<uint32_t>(key.size()), keyObject.data());
  auto data = plain;
  EXPECT_EQ(fn.encrypt(data.data(), static_cast<uint32_t>(data.size()), keyObject.data()),
            static_cast<int>(data.size()));
  EXPECT_EQ(ToHex(data), ToHex(expected)) << "line " << v.line;

  keyObject = NewKeyObject();
  fn.createKey(key.data(), static_cast<uint32_t>(key.size()), keyObject.data());
  EXPECT_EQ(fn.decrypt(data.data(), static_cast<uint32_t>(data.size()), keyObject.data()),
            static_cast<int>(data.size()));
  EXPECT_EQ(ToHex(data), ToHex(plain)) << "line " << v.line;
}

std::string VectorName(const testing::TestParamInfo<Vector>& info) {
  std::string prefix = info.param.text.empty() ? "none" : info.param.text[0];
  if (!prefix.empty() && prefix.back() == '_') prefix.pop_back();
  return prefix + "_line" + std::to_string(info.param.line);
}

INSTANTIATE_TEST_SUITE_P(Published, KnownAnswer,
                         testing::ValuesIn(ReadVectors("known_answers.txt")), VectorName);

TEST(KnownAnswerFile, CoversEveryCipher) {
  std::set<std::string> prefixes;
  for (const auto& v : ReadVectors("known_answers.txt")) prefixes.insert(v.text[0]);
  EXPECT_EQ(prefixes, std::set<std::string>(kPrefixes.begin(), kPrefixes.end()));
}

}  // namespace
}  // namespace cipher::test
