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

// ReferenceRc4: the keystream one byte at a time, straight from the
// algorithm's description, over a copy of a key object.
void ReferenceRc4(std::vector<uint8_t>& data, size_t from, size_t count, KeyObject& object) {
  uint8_t i = object[256], j = object[257];
  for (size_t n = from; n < from + count; ++n) {
    i = static_cast<uint8_t>(i + 1);
    j = static_cast<uint8_t>(j + object[i]);
    std::swap(object[i], object[j]);
    data[n] ^= object[static_cast<uint8_t>(object[i] + object[j])];
  }
  object[256] = i;
  object[257] = j;
}

TEST(Rc4, EveryCallLengthAndUnalignedStartFollowsTheByteAtATimeDefinition) {
  // The keystream is worked out in words of eight bytes: lengths around
  // multiples of eight, starts at every alignment, and calls that leave i at
  // every point of its wrap must all agree with the plain definition.
  const auto fn = Cipher("RC4_");
  auto key = Pattern(13, 21);
  auto ours = NewKeyObject(), reference = NewKeyObject();
  fn.createKey(key.data(), 13, ours.data());
  reference = ours;
  std::vector<uint8_t> a = Pattern(20000, 3), b = a;
  size_t at = 0;
  for (uint32_t length = 0; at + length + 3 <= a.size(); length = (length * 7 + 5) % 41) {
    at += length % 3;  // vary the start's alignment
    ASSERT_EQ(fn.encrypt(a.data() + at, length, ours.data()), static_cast<int>(length));
    ReferenceRc4(b, at, length, reference);
    ASSERT_EQ(a, b) << "after a call of " << length << " bytes at " << at;
    ASSERT_EQ(ours, reference);
    at += length;
  }
}

TEST(Rc4, SwapThatMovesTheNextEntryAndLongStreamsFollowTheDefinition) {
  // The next byte's entry is read ahead of the swap; when j lands on i + 1
  // the swap moves it. This object does that at the very first byte.
  const auto fn = Cipher("RC4_");
  KeyObject crafted = NewKeyObject();
  for (unsigned n = 0; n < 256; ++n) crafted[n] = static_cast<uint8_t>(n);
  std::swap(crafted[1], crafted[2]);
  crafted[256] = 0;
  crafted[257] = 0;
  KeyObject reference = crafted;
  std::vector<uint8_t> a(64, 0), b(64, 0);
  ASSERT_EQ(fn.encrypt(a.data(), 64, crafted.data()), 64);
  ReferenceRc4(b, 0, 64, reference);
  EXPECT_EQ(a, b);
  EXPECT_EQ(crafted, reference);

  // A megabyte in one call meets the case thousands of times.
  auto key = Pattern(14, 5);
  KeyObject ours = NewKeyObject();
  fn.createKey(key.data(), 14, ours.data());
  reference = ours;
  std::vector<uint8_t> big = Pattern(1 << 20, 11), expected = big;
  ASSERT_EQ(fn.encrypt(big.data(), 1 << 20, ours.data()), 1 << 20);
  ReferenceRc4(expected, 0, expected.size(), reference);
  EXPECT_EQ(big, expected);
  EXPECT_EQ(ours, reference);
}

}  // namespace
}  // namespace cipher::test
