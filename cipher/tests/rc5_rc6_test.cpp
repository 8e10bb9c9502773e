// RC5 and RC6 through the exports: key handling, partial blocks, RC6's own schedule.
#include <gtest/gtest.h>

#include <bit>

#include "cipher/tests/VectorFile.h"
#include "cipher/tests/ZSCryptLibrary.h"

namespace cipher::test {
namespace {

constexpr uint32_t kP32 = 0xB7E15163, kQ32 = 0x9E3779B9;

uint32_t Word(const KeyObject& object, size_t index) {
  const uint8_t* p = object.data() + 4 * index;
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void PutWord(KeyObject& object, size_t index, uint32_t w) {
  for (int b = 0; b < 4; ++b) object[4 * index + b] = static_cast<uint8_t>(w >> (8 * b));
}

// PublishedRc6Schedule: the standard RC6-32/20/b key expansion, written out
// here so the block operations can be checked against the published answers.
KeyObject PublishedRc6Schedule(const std::vector<uint8_t>& key) {
  const size_t c = std::max<size_t>(1, (key.size() + 3) / 4);
  std::vector<uint32_t> l(c, 0);
  for (size_t n = 0; n < key.size(); ++n) l[n / 4] |= uint32_t{key[n]} << (8 * (n % 4));
  uint32_t s[44];
  s[0] = kP32;
  for (int n = 1; n < 44; ++n) s[n] = s[n - 1] + kQ32;
  uint32_t a = 0, b = 0;
  size_t i = 0, j = 0;
  for (size_t step = 0; step < 3 * std::max<size_t>(c, 44); ++step) {
    a = s[i] = std::rotl(s[i] + a + b, 3);
    b = l[j] = std::rotl(l[j] + a + b, static_cast<int>((a + b) & 31));
    i = (i + 1) % 44;
    j = (j + 1) % c;
  }
  KeyObject object = NewKeyObject();
  for (int n = 0; n < 44; ++n) PutWord(object, n, s[n]);
  return object;
}

TEST(Rc5, CreateKeyReturns26AndWritesOnly104Bytes) {
  const auto fn = Cipher("RC5_");
  auto key = Pattern(16, 1);
  auto object = NewKeyObject(0xC3);
  EXPECT_EQ(fn.createKey(key.data(), 16, object.data()), 26);
  for (size_t n = 104; n < object.size(); ++n) ASSERT_EQ(object[n], 0xC3) << n;
}

TEST(Rc5, ShortKeyEqualsTheSameKeyZeroPaddedTo16) {
  const auto fn = Cipher("RC5_");
  std::vector<uint8_t> five = {0x91, 0x5F, 0x46, 0x19, 0xBE};
  std::vector<uint8_t> padded = five;
  padded.resize(16, 0);
  auto a = NewKeyObject(), b = NewKeyObject();
  fn.createKey(five.data(), 5, a.data());
  fn.createKey(padded.data(), 16, b.data());
  EXPECT_EQ(a, b);
}

TEST(Rc5, KeyBytesPastThe16thAreIgnored) {
  const auto fn = Cipher("RC5_");
  auto longKey = Pattern(40, 4);
  auto a = NewKeyObject(), b = NewKeyObject();
  fn.createKey(longKey.data(), 40, a.data());
  fn.createKey(longKey.data(), 16, b.data());
  EXPECT_EQ(a, b);
}

TEST(Rc5, LengthTwelveEnciphersEightBytesAndLeavesTheRest) {
  const auto fn = Cipher("RC5_");
  auto key = Pattern(16, 2);
  auto object = NewKeyObject();
  fn.createKey(key.data(), 16, object.data());
  const auto plain = Pattern(12, 9);
  auto data = plain;
  EXPECT_EQ(fn.encrypt(data.data(), 12, object.data()), 8);
  auto firstBlock = std::vector<uint8_t>(plain.begin(), plain.begin() + 8);
  EXPECT_EQ(fn.encrypt(firstBlock.data(), 8, object.data()), 8);
  EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.begin() + 8), firstBlock);
  EXPECT_EQ(std::vector<uint8_t>(data.begin() + 8, data.end()),
            std::vector<uint8_t>(plain.begin() + 8, plain.end()));
  EXPECT_EQ(fn.decrypt(data.data(), 12, object.data()), 8);
  EXPECT_EQ(data, plain);
  EXPECT_EQ(fn.encrypt(data.data(), 7, object.data()), 0);
  EXPECT_EQ(data, plain);
}

TEST(Rc6, CreateKeyReturns176AndWritesOnly176Bytes) {
  const auto fn = Cipher("RC6_");
  auto key = Pattern(32, 1);
  auto object = NewKeyObject(0x3C);
  EXPECT_EQ(fn.createKey(key.data(), 32, object.data()), 176);
  for (size_t n = 176; n < object.size(); ++n) ASSERT_EQ(object[n], 0x3C) << n;
}

TEST(Rc6, ScheduleKeepsTheFirstPassValueOfS0AndDiffersFromThePublishedOne) {
  const auto fn = Cipher("RC6_");
  for (uint8_t seed : {0, 1, 77}) {
    auto key = seed == 0 ? std::vector<uint8_t>(32, 0) : Pattern(32, seed);
    auto ours = NewKeyObject();
    fn.createKey(key.data(), 32, ours.data());
    const auto published = PublishedRc6Schedule(key);
    // With A = B = 0 the first step sets S[0] = P32 <<< 3, and no later pass
    // comes back to it.
    EXPECT_EQ(Word(ours, 0), std::rotl(kP32, 3));
    EXPECT_NE(Word(published, 0), std::rotl(kP32, 3));
    for (int n = 1; n < 44; ++n) EXPECT_NE(Word(ours, n), Word(published, n)) << n;
  }
}

TEST(Rc6, BlockOperationsReproducePublishedAnswersUnderThePublishedSchedule) {
  const auto fn = Cipher("RC6_");
  const auto vectors = ReadVectors("rc6_published_schedule.txt");
  ASSERT_FALSE(vectors.empty());
  for (const auto& v : vectors) {
    ASSERT_EQ(v.bytes.size(), 3u) << "line " << v.line;
    auto object = PublishedRc6Schedule(v.bytes[0]);
    auto data = v.bytes[1];
    EXPECT_EQ(fn.encrypt(data.data(), 16, object.data()), 16);
    EXPECT_EQ(ToHex(data), ToHex(v.bytes[2])) << "line " << v.line;
    EXPECT_EQ(fn.decrypt(data.data(), 16, object.data()), 16);
    EXPECT_EQ(data, v.bytes[1]);
  }
}

TEST(Rc6, ShortKeyEqualsZeroPaddedAndLongKeyIsTruncatedTo32) {
  const auto fn = Cipher("RC6_");
  auto key = Pattern(40, 6);
  auto padded = std::vector<uint8_t>(key.begin(), key.begin() + 10);
  padded.resize(32, 0);
  auto a = NewKeyObject(), b = NewKeyObject(), c = NewKeyObject(), d = NewKeyObject();
  fn.createKey(key.data(), 10, a.data());
  fn.createKey(padded.data(), 32, b.data());
  fn.createKey(key.data(), 40, c.data());
  fn.createKey(key.data(), 32, d.data());
  EXPECT_EQ(a, b);
  EXPECT_EQ(c, d);
}

TEST(Rc6, TrailingBytesOfAPartialBlockAreLeftUntouched) {
  const auto fn = Cipher("RC6_");
  auto key = Pattern(32, 3);
  auto object = NewKeyObject();
  fn.createKey(key.data(), 32, object.data());
  const auto plain = Pattern(40, 8);
  auto data = plain;
  EXPECT_EQ(fn.encrypt(data.data(), 40, object.data()), 32);
  EXPECT_NE(std::vector<uint8_t>(data.begin(), data.begin() + 32),
            std::vector<uint8_t>(plain.begin(), plain.begin() + 32));
  EXPECT_EQ(std::vector<uint8_t>(data.begin() + 32, data.end()),
            std::vector<uint8_t>(plain.begin() + 32, plain.end()));
  EXPECT_EQ(fn.decrypt(data.data(), 40, object.data()), 32);
  EXPECT_EQ(data, plain);
}

}  // namespace
}  // namespace cipher::test
