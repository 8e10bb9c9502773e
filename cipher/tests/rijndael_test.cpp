// Rijndael through the exports: key object placement, refusals, partial blocks, alignment.
#include <gtest/gtest.h>

#include <cstring>

#include "cipher/tests/ZSCryptLibrary.h"

namespace cipher::test {
namespace {

struct Variant {
  std::string prefix;
  uint32_t nk, nb, nr;
  size_t objectBytes;  // the key object proper, from its aligned start
  size_t blockBytes() const { return 4 * nb; }
};
void PrintTo(const Variant& v, std::ostream* os) {
  *os << v.prefix;
}

const Variant kRj128{"RJ128_", 4, 4, 10, 528};
const Variant kRj256{"RJ256_", 8, 8, 14, 976};

uint32_t WordAt(const uint8_t* p) {
  uint32_t w;
  std::memcpy(&w, p, 4);
  return w;
}

class Rijndael : public testing::TestWithParam<Variant> {
 protected:
  void SetUp() override {
    fn_ = Cipher(GetParam().prefix);
    ASSERT_NE(fn_.createKey, nullptr);
    key_ = Pattern(32, 0x21);
    object_ = NewKeyObject();
    fn_.createKey(key_.data(), 32, object_.data());
  }
  uint8_t* Aligned() {
    auto* p = object_.data();
    return p + ((4 - (reinterpret_cast<uintptr_t>(p) & 3)) & 3);
  }
  CipherFunctions fn_;
  std::vector<uint8_t> key_;
  KeyObject object_;
};

TEST_P(Rijndael, KeyObjectStartsAtTheFirstAlignedByteWithItsHeader) {
  const Variant& v = GetParam();
  // 1024 + 4 bytes so that each of the four buffer offsets has a full 1024.
  std::vector<uint8_t> storage(1028 + 4);
  for (size_t shift = 0; shift < 4; ++shift) {
    std::fill(storage.begin(), storage.end(), 0xA5);
    uint8_t* buffer = storage.data() + shift;
    ASSERT_EQ(fn_.createKey(key_.data(), 32, buffer), static_cast<int>(4 * v.nk));
    const size_t skip = (4 - (reinterpret_cast<uintptr_t>(buffer) & 3)) & 3;
    const uint8_t* object = buffer + skip;
    EXPECT_EQ(std::memcmp(object, "GSML", 4), 0) << "shift " << shift;
    EXPECT_EQ(WordAt(object), 0x4C4D5347u);
    EXPECT_EQ(WordAt(object + 4), v.nk);
    EXPECT_EQ(WordAt(object + 8), v.nb);
    EXPECT_EQ(WordAt(object + 12), v.nr);
    for (size_t n = 0; n < skip; ++n) EXPECT_EQ(buffer[n], 0xA5) << "before the object";
    for (size_t n = skip + v.objectBytes; n < 1024; ++n)
      ASSERT_EQ(buffer[n], 0xA5) << "past the object at " << n;
    EXPECT_LE(skip + v.objectBytes, v.nb == 4 ? 531u : 979u);
  }
}

TEST_P(Rijndael, CreateKeyReturnsTheBytesTakenAndZeroForANullObject) {
  const Variant& v = GetParam();
  auto big = Pattern(40, 1);
  auto object = NewKeyObject();
  EXPECT_EQ(fn_.createKey(big.data(), 40, object.data()), static_cast<int>(4 * v.nk));
  EXPECT_EQ(fn_.createKey(big.data(), 10, object.data()), 10);
  EXPECT_EQ(fn_.createKey(big.data(), 1, object.data()), 1);
  EXPECT_EQ(fn_.createKey(big.data(), 40, nullptr), 0);
  // A null key with a length would be read: refused, object not written.
  auto untouched = NewKeyObject(0x77);
  EXPECT_EQ(fn_.createKey(nullptr, 16, untouched.data()), 0);
  EXPECT_EQ(untouched, NewKeyObject(0x77));
}

TEST_P(Rijndael, ShortKeyEqualsTheSameKeyZeroPadded) {
  const Variant& v = GetParam();
  auto shortKey = Pattern(5, 9);
  auto padded = shortKey;
  padded.resize(4 * v.nk, 0);
  auto a = NewKeyObject(), b = NewKeyObject();
  EXPECT_EQ(fn_.createKey(shortKey.data(), 5, a.data()), 5);
  fn_.createKey(padded.data(), static_cast<uint32_t>(padded.size()), b.data());
  EXPECT_EQ(a, b);
}

TEST_P(Rijndael, RefusesLengthsOutsideOneTo512AndLeavesTheBufferUnchanged) {
  const auto plain = Pattern(600, 4);
  auto data = plain;
  EXPECT_EQ(fn_.encrypt(data.data(), 513, object_.data()), 0);
  EXPECT_EQ(fn_.decrypt(data.data(), 513, object_.data()), 0);
  EXPECT_EQ(fn_.encrypt(data.data(), 0, object_.data()), 0);
  EXPECT_EQ(fn_.decrypt(data.data(), 0, object_.data()), 0);
  EXPECT_EQ(fn_.encrypt(data.data(), 0xFFFFFFFFu, object_.data()), 0);
  EXPECT_EQ(data, plain);
  EXPECT_EQ(fn_.encrypt(data.data(), 512, object_.data()), 512);
  EXPECT_NE(data, plain);
}

TEST_P(Rijndael, RefusesNullPointers) {
  auto data = Pattern(64, 2);
  const auto before = data;
  EXPECT_EQ(fn_.encrypt(nullptr, 64, object_.data()), 0);
  EXPECT_EQ(fn_.decrypt(nullptr, 64, object_.data()), 0);
  EXPECT_EQ(fn_.encrypt(data.data(), 64, nullptr), 0);
  EXPECT_EQ(fn_.decrypt(data.data(), 64, nullptr), 0);
  EXPECT_EQ(data, before);
}

TEST_P(Rijndael, RefusesKeyObjectsThatAreNotItsOwn) {
  const Variant& v = GetParam();
  const auto plain = Pattern(64, 3);
  struct Forgery {
    const char* what;
    size_t field;  // word index in the header
    uint32_t value;
  };
  const Forgery forgeries[] = {{"magic", 0, 0x4C4D5348},
                               {"Nk", 1, v.nk == 4 ? 8u : 4u},
                               {"Nb", 2, v.nb == 4 ? 8u : 4u},
                               {"Nr", 3, 200},
                               {"Nr", 3, v.nr + 1},
                               {"Nr", 3, 0}};
  for (const auto& f : forgeries) {
    auto object = object_;
    uint8_t* aligned = object.data() + (Aligned() - object_.data());
    std::memcpy(aligned + 4 * f.field, &f.value, 4);
    auto data = plain;
    EXPECT_EQ(fn_.encrypt(data.data(), 64, object.data()), 0) << f.what << " " << f.value;
    EXPECT_EQ(fn_.decrypt(data.data(), 64, object.data()), 0) << f.what << " " << f.value;
    EXPECT_EQ(data, plain) << f.what;
  }
  // An all-zero buffer never went through CreateKey.
  auto blank = NewKeyObject();
  auto data = plain;
  EXPECT_EQ(fn_.encrypt(data.data(), 64, blank.data()), 0);
}

TEST_P(Rijndael, RefusesTheOtherRijndaelsKeyObject) {
  const Variant& v = GetParam();
  const auto other = Cipher(v.nb == 4 ? "RJ256_" : "RJ128_");
  auto object = NewKeyObject();
  other.createKey(key_.data(), 32, object.data());
  auto data = Pattern(64, 5);
  const auto before = data;
  EXPECT_EQ(fn_.encrypt(data.data(), 64, object.data()), 0);
  EXPECT_EQ(fn_.decrypt(data.data(), 64, object.data()), 0);
  EXPECT_EQ(data, before);
}

TEST_P(Rijndael, EncryptPadsAPartialBlockAndWritesOnlyTheLength) {
  const Variant& v = GetParam();
  const size_t block = v.blockBytes();
  const size_t length = 2 * block + 5;
  const auto plain = Pattern(length + 16, 6);
  auto data = plain;
  EXPECT_EQ(fn_.encrypt(data.data(), static_cast<uint32_t>(length), object_.data()),
            static_cast<int>(length));
  // The whole blocks come out as they would on their own.
  auto whole = std::vector<uint8_t>(plain.begin(), plain.begin() + 2 * block);
  fn_.encrypt(whole.data(), static_cast<uint32_t>(whole.size()), object_.data());
  EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.begin() + 2 * block), whole);
  // The tail is the head of its zero-padded block's ciphertext.
  std::vector<uint8_t> padded(block, 0);
  std::copy(plain.begin() + 2 * block, plain.begin() + length, padded.begin());
  fn_.encrypt(padded.data(), static_cast<uint32_t>(block), object_.data());
  EXPECT_EQ(std::vector<uint8_t>(data.begin() + 2 * block, data.begin() + length),
            std::vector<uint8_t>(padded.begin(), padded.begin() + 5));
  EXPECT_EQ(std::vector<uint8_t>(data.begin() + length, data.end()),
            std::vector<uint8_t>(plain.begin() + length, plain.end()))
      << "bytes past the length untouched";
}

TEST_P(Rijndael, DecryptRefusesAPartialBlock) {
  const Variant& v = GetParam();
  const auto plain = Pattern(512, 7);
  auto data = plain;
  for (uint32_t length : {1u, static_cast<uint32_t>(v.blockBytes() + 1), 511u}) {
    EXPECT_EQ(fn_.decrypt(data.data(), length, object_.data()), 0) << length;
    EXPECT_EQ(data, plain) << length;
  }
}

TEST_P(Rijndael, UnalignedDataGivesTheSameResultAsAligned) {
  const auto plain = Pattern(512, 8);
  std::vector<uint8_t> storage(512 + 8);
  std::vector<uint8_t> reference;
  for (size_t shift = 0; shift < 4; ++shift) {
    uint8_t* p = storage.data() + shift;
    std::copy(plain.begin(), plain.end(), p);
    ASSERT_EQ(fn_.encrypt(p, 512, object_.data()), 512);
    std::vector<uint8_t> result(p, p + 512);
    if (shift == 0)
      reference = result;
    else
      EXPECT_EQ(result, reference) << "shift " << shift;
    ASSERT_EQ(fn_.decrypt(p, 512, object_.data()), 512);
    EXPECT_EQ(std::vector<uint8_t>(p, p + 512), plain) << "shift " << shift;
  }
}

TEST_P(Rijndael, EqualBlocksGiveEqualCipherBlocks) {
  const Variant& v = GetParam();
  std::vector<uint8_t> data(512, 0x5C);
  fn_.encrypt(data.data(), 512, object_.data());
  for (size_t off = v.blockBytes(); off < 512; off += v.blockBytes())
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + v.blockBytes(), data.begin() + off));
}

INSTANTIATE_TEST_SUITE_P(Both, Rijndael, testing::Values(kRj128, kRj256),
                         [](const auto& info) { return info.param.nb == 4 ? "Rj128" : "Rj256"; });

TEST(Rijndael128, EncryptionRoundKeysMatchTheFipsExpansion) {
  // FIPS-197 Appendix A.1 (key 2b7e1516...): w[4] = a0fafe17, w[43] = b6630ca6,
  // as bytes in the state's order.
  const auto fn = Cipher("RJ128_");
  auto key = Hex("2b7e151628aed2a6abf7158809cf4f3c");
  alignas(4) uint8_t object[1024] = {};
  fn.createKey(key.data(), 16, object);
  EXPECT_EQ(ToHex({object + 16 + 16, object + 16 + 20}), "a0fafe17");
  EXPECT_EQ(ToHex({object + 16 + 4 * 43, object + 16 + 4 * 44}), "b6630ca6");
}

}  // namespace
}  // namespace cipher::test
