// RC4 through the exports: key object layout, keystream continuity, key length rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "cipher/tests/ZSCryptLibrary.h"

namespace cipher::test {
namespace {

TEST(Rc4, CreateKeyReturns258AndLaysOutPermutationThenZeroIndices) {
  const auto fn = Cipher("RC4_");
  auto key = Pattern(5, 1);
  auto object = NewKeyObject(0xEE);
  EXPECT_EQ(fn.createKey(key.data(), 5, object.data()), 258);
  std::vector<uint8_t> s(object.begin(), object.begin() + 256);
  std::sort(s.begin(), s.end());
  std::vector<uint8_t> identity(256);
  std::iota(identity.begin(), identity.end(), 0);
  EXPECT_EQ(s, identity) << "bytes 0..255 hold a permutation";
  EXPECT_EQ(object[256], 0);
  EXPECT_EQ(object[257], 0);
  EXPECT_TRUE(std::all_of(object.begin() + 258, object.end(), [](uint8_t b) { return b == 0xEE; }))
      << "nothing written past the 258-byte object";
}

TEST(Rc4, CreateKeyWithLengthZeroReturnsZeroAndLeavesTheObjectUntouched) {
  const auto fn = Cipher("RC4_");
  uint8_t key[1] = {0x41};
  auto object = NewKeyObject(0x5A);
  EXPECT_EQ(fn.createKey(key, 0, object.data()), 0);
  EXPECT_EQ(object, NewKeyObject(0x5A));
}

TEST(Rc4, KeyBytesPastThe256thTakeNoPart) {
  const auto fn = Cipher("RC4_");
  auto longKey = Pattern(300, 9);
  auto otherTail = longKey;
  std::fill(otherTail.begin() + 256, otherTail.end(), 0xFF);
  auto a = NewKeyObject(), b = NewKeyObject(), c = NewKeyObject();
  fn.createKey(longKey.data(), 300, a.data());
  fn.createKey(otherTail.data(), 300, b.data());
  fn.createKey(longKey.data(), 256, c.data());
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, c);
}

TEST(Rc4, TwoCallsOfTenBytesEqualOneCallOfTwenty) {
  const auto fn = Cipher("RC4_");
  auto key = Pattern(16, 3);
  const auto plain = Pattern(20, 100);
  auto split = plain, whole = plain;
  auto o1 = NewKeyObject(), o2 = NewKeyObject();
  fn.createKey(key.data(), 16, o1.data());
  fn.createKey(key.data(), 16, o2.data());
  EXPECT_EQ(fn.encrypt(split.data(), 10, o1.data()), 10);
  EXPECT_EQ(fn.encrypt(split.data() + 10, 10, o1.data()), 10);
  EXPECT_EQ(fn.encrypt(whole.data(), 20, o2.data()), 20);
  EXPECT_EQ(split, whole);
  EXPECT_NE(whole, plain);
  EXPECT_EQ(o1, o2) << "both objects advanced to the same state";
  EXPECT_EQ(o1[256], 20) << "i advances once per byte";
}

TEST(Rc4, DecryptIsTheSameOperationAsEncrypt) {
  const auto fn = Cipher("RC4_");
  auto key = Pattern(7, 50);
  const auto plain = Pattern(333, 1);
  auto viaEncrypt = plain, viaDecrypt = plain;
  auto o1 = NewKeyObject(), o2 = NewKeyObject();
  fn.createKey(key.data(), 7, o1.data());
  fn.createKey(key.data(), 7, o2.data());
  EXPECT_EQ(fn.encrypt(viaEncrypt.data(), 333, o1.data()), 333);
  EXPECT_EQ(fn.decrypt(viaDecrypt.data(), 333, o2.data()), 333);
  EXPECT_EQ(viaEncrypt, viaDecrypt);
}

}  // namespace
}  // namespace cipher::test
