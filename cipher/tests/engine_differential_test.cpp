// The accelerated engine against the portable one: same key objects, same bytes, same results.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "cipher/CipherEngine.h"
#include "cipher/Rc5.h"
#include "cipher/Rc6.h"
#include "cipher/Rijndael.h"
#include "cipher/tests/VectorFile.h"
#include "cipher/tests/ZSCryptLibrary.h"

namespace cipher::test {
namespace {

using Bytes = std::vector<uint8_t>;

// Calls: one block cipher's functions with the engine as a parameter.
struct Calls {
  std::string prefix;
  int (*createKey)(const CipherEngine&, const uint8_t*, uint32_t, uint8_t*);
  int (*encrypt)(const CipherEngine&, uint8_t*, uint32_t, const uint8_t*);
  int (*decrypt)(const CipherEngine&, uint8_t*, uint32_t, const uint8_t*);
  uint32_t maxLength;  // lengths tried: 0 .. this
};
void PrintTo(const Calls& c, std::ostream* os) {
  *os << c.prefix;
}

// The RC key schedules do not depend on the engine.
int Rc5Key(const CipherEngine&, const uint8_t* k, uint32_t n, uint8_t* o) {
  return Rc5CreateKey(k, n, o);
}
int Rc6Key(const CipherEngine&, const uint8_t* k, uint32_t n, uint8_t* o) {
  return Rc6CreateKey(k, n, o);
}

const Calls kRj128{"RJ128_", Rj128CreateKey, Rj128Encrypt, Rj128Decrypt, 520};
const Calls kRj256{"RJ256_", Rj256CreateKey, Rj256Encrypt, Rj256Decrypt, 520};
// The RC ciphers take any length: past a sector, so every vector group size
// and the scalar tail all run.
const Calls kRc5{"RC5_", Rc5Key, Rc5Encrypt, Rc5Decrypt, 1100};
const Calls kRc6{"RC6_", Rc6Key, Rc6Encrypt, Rc6Decrypt, 1100};

Bytes Random(std::mt19937& rng, size_t count) {
  Bytes b(count);
  for (auto& x : b) x = static_cast<uint8_t>(rng());
  return b;
}

class Engines : public testing::TestWithParam<Calls> {
 protected:
  void SetUp() override {
    const bool rijndael = GetParam().prefix[0] == 'R' && GetParam().prefix[1] == 'J';
    if (rijndael ? !FastestEngine().aesInstructions : !FastestEngine().wideVectors)
      GTEST_SKIP() << "this processor or build has no accelerated kernels for "
                   << GetParam().prefix;
  }
  const CipherEngine& portable_ = PortableEngine();
  const CipherEngine& fast_ = FastestEngine();
};

TEST_P(Engines, KeyObjectsAreByteIdenticalForEveryKeyLengthAndBufferAlignment) {
  const Calls& c = GetParam();
  std::mt19937 rng(1);
  for (uint32_t keyLength = 0; keyLength <= 40; ++keyLength) {
    const Bytes key = Random(rng, keyLength);
    for (size_t shift = 0; shift < 4; ++shift) {
      Bytes a(1024 + shift, 0xE7), b(1024 + shift, 0xE7);
      const int ra = c.createKey(portable_, key.data(), keyLength, a.data() + shift);
      const int rb = c.createKey(fast_, key.data(), keyLength, b.data() + shift);
      EXPECT_EQ(ra, rb) << "key length " << keyLength;
      ASSERT_EQ(a, b) << "key length " << keyLength << ", shift " << shift;
    }
  }
}

TEST_P(Engines, EveryLengthAndAlignmentGivesTheSameBytesBothWays) {
  const Calls& c = GetParam();
  std::mt19937 rng(2);
  for (uint32_t length = 0; length <= c.maxLength; ++length) {
    const size_t dataShift = length % 4, keyShift = (length / 4) % 4;
    const Bytes key = Random(rng, 1 + length % 40);
    Bytes object(1024 + keyShift);
    c.createKey(portable_, key.data(), static_cast<uint32_t>(key.size()), object.data() + keyShift);
    const uint8_t* o = object.data() + keyShift;
    // Exact-size buffers past the shift, so a sanitizer build sees any stray access.
    const Bytes plain = Random(rng, dataShift + length);
    Bytes a = plain, b = plain;
    const int ea = c.encrypt(portable_, a.data() + dataShift, length, o);
    const int eb = c.encrypt(fast_, b.data() + dataShift, length, o);
    ASSERT_EQ(ea, eb) << "length " << length;
    ASSERT_EQ(a, b) << "encrypt, length " << length;
    // The ciphertext, and the untouched plaintext as if it were ciphertext.
    for (Bytes* start : {&a, const_cast<Bytes*>(&plain)}) {
      Bytes x = *start, y = *start;
      const int da = c.decrypt(portable_, x.data() + dataShift, length, o);
      const int db = c.decrypt(fast_, y.data() + dataShift, length, o);
      ASSERT_EQ(da, db) << "length " << length;
      ASSERT_EQ(x, y) << "decrypt, length " << length;
    }
  }
}

TEST_P(Engines, AKeyObjectFromOneEngineWorksOnTheOther) {
  const Calls& c = GetParam();
  std::mt19937 rng(3);
  const Bytes key = Random(rng, 32), plain = Random(rng, 512);
  Bytes fromPortable(1024), fromFast(1024);
  c.createKey(portable_, key.data(), 32, fromPortable.data());
  c.createKey(fast_, key.data(), 32, fromFast.data());
  Bytes data = plain;
  ASSERT_EQ(c.encrypt(fast_, data.data(), 512, fromPortable.data()), 512);
  ASSERT_NE(data, plain);
  ASSERT_EQ(c.decrypt(portable_, data.data(), 512, fromFast.data()), 512);
  EXPECT_EQ(data, plain);
}

INSTANTIATE_TEST_SUITE_P(BlockCiphers, Engines, testing::Values(kRj128, kRj256, kRc5, kRc6),
                         [](const auto& info) {
                           std::string name = info.param.prefix;
                           name.pop_back();
                           return name;
                         });

// Every known answer of the block ciphers on each engine, called directly
// rather than through the module.
TEST(EngineKnownAnswers, HoldOnEveryEngine) {
  const std::vector<Calls> all = {kRj128, kRj256, kRc5, kRc6};
  int checked = 0;
  for (const CipherEngine* engine : {&PortableEngine(), &FastestEngine()}) {
    for (const Vector& v : ReadVectors("known_answers.txt")) {
      const Calls* c = nullptr;
      for (const auto& candidate : all)
        if (candidate.prefix == v.text[0]) c = &candidate;
      if (c == nullptr) continue;  // RC4 has no engines
      Bytes object(1024);
      c->createKey(*engine, v.bytes[1].data(), static_cast<uint32_t>(v.bytes[1].size()),
                   object.data());
      Bytes data = v.bytes[2];
      const auto length = static_cast<uint32_t>(data.size());
      EXPECT_EQ(c->encrypt(*engine, data.data(), length, object.data()), static_cast<int>(length));
      EXPECT_EQ(ToHex(data), ToHex(v.bytes[3])) << "line " << v.line;
      EXPECT_EQ(c->decrypt(*engine, data.data(), length, object.data()), static_cast<int>(length));
      EXPECT_EQ(data, v.bytes[2]) << "line " << v.line;
      ++checked;
    }
  }
  EXPECT_GE(checked, 2 * 10);
}

// The Rijndael kernels may write to a different buffer than they read.
TEST(RijndaelKernels, OutOfPlaceBlocksMatchInPlaceAndLeaveTheInputAlone) {
  const RijndaelKernels* aes = AesRijndaelKernels();
  if (aes == nullptr || !FastestEngine().aesInstructions)
    GTEST_SKIP() << "no AES instructions on this processor or build";
  const RijndaelKernels& tables = TableRijndaelKernels();
  std::mt19937 rng(4);
  const Bytes key = Random(rng, 32);
  alignas(4) uint32_t enc[120], dec[120];
  tables.expand256(key.data(), enc, dec);
  for (size_t blocks = 1; blocks <= 9; ++blocks) {
    const Bytes in = Random(rng, 32 * blocks + 1);
    Bytes out(32 * blocks + 1), reference(32 * blocks + 1);
    // Unaligned input and output: start one byte in.
    aes->encrypt256(in.data() + 1, out.data() + 1, blocks, enc);
    tables.encrypt256(in.data() + 1, reference.data() + 1, blocks, enc);
    EXPECT_EQ(out, reference) << blocks << " blocks";
    aes->decrypt256(out.data() + 1, out.data() + 1, blocks, dec);
    EXPECT_EQ(Bytes(out.begin() + 1, out.end()), Bytes(in.begin() + 1, in.end()));
    Bytes in128 = Random(rng, 16 * blocks), out128(16 * blocks), ref128(16 * blocks);
    tables.expand128(key.data(), enc, dec);
    aes->encrypt128(in128.data(), out128.data(), blocks, enc);
    tables.encrypt128(in128.data(), ref128.data(), blocks, enc);
    EXPECT_EQ(out128, ref128) << blocks << " blocks";
    tables.expand256(key.data(), enc, dec);
  }
}

}  // namespace
}  // namespace cipher::test
