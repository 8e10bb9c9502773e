// Montgomery products over 16-bit digits, and the 6-bit text coding.
#include "scanner/virusbase/Number512.h"

#include <gtest/gtest.h>

#include "scanner/virusbase/SixBitCode.h"
#include "tools/zepbase/BigNumber.h"

namespace scanner {
namespace {

Number512 FromHex(std::string_view hex) {
  Number512 n{};
  EXPECT_TRUE(zepbase::FromHex(hex, n));
  return n;
}

const char kP[] =
    "a3edebaada8456573305281711889bf854bc577c3288ea8183fa92f9f8c4f07fa0679f0616e8e1c84ac534a232a679"
    "02c4347d4461b2ae83e9bf3ba852b2871b";

TEST(Montgomery, ProductMatchesIndependentComputation) {
  // a * b * 2^-512 mod p, computed outside this code base.
  MontgomeryModulus m{FromHex(kP), 0};
  m.n0 = MontgomeryN0(m.p[0]);
  const Number512 a = FromHex(
      "36f675cc81e74ef5e8e25d940ed904759531985d5d9dc9f81818e811892f902bd23f0824128b2f330c5c7fd0a6a"
      "3a4506513270e269e0d37f2a74de452e6b438");
  const Number512 b = FromHex(
      "a170b33839263059f28c105d1fb17c2390c192cfd3ac94af0f21ddb66cad4a268d116ece1738f7d93d9c172411e"
      "20b8f6b0d549b6f03675a1600a35a099950d8");
  const Number512 expected = FromHex(
      "289f289170a26eb09826ee4e872985dc7478dc88f639a52d80e35cf61683a04f00fd65a66ea6a0bb8145afc2693"
      "ad3c81be695c7164bb62afc7b1e3db1f7ba1e");
  EXPECT_EQ(MontgomeryProduct(a, b, m), expected);
  EXPECT_EQ(MontgomeryProduct(b, a, m), expected);
}

TEST(Montgomery, SmallModulusAgreesWithPlainArithmetic) {
  const uint64_t p = 65521;
  MontgomeryModulus m{};
  m.p[0] = static_cast<uint16_t>(p);
  m.n0 = MontgomeryN0(m.p[0]);
  EXPECT_EQ(static_cast<uint16_t>(m.n0 * m.p[0]), 0xFFFF);  // n0 * p = -1 mod 2^16
  uint64_t rInverse = 1;                                    // 2^-512 mod p = (2^-1)^512
  const uint64_t half = (p + 1) / 2;
  for (int i = 0; i < 512; ++i) rInverse = rInverse * half % p;
  for (uint64_t a : {0ull, 1ull, 2ull, 12345ull, 65520ull})
    for (uint64_t b : {1ull, 3ull, 40000ull, 65520ull}) {
      Number512 x{}, y{};
      x[0] = static_cast<uint16_t>(a);
      y[0] = static_cast<uint16_t>(b);
      EXPECT_EQ(MontgomeryProduct(x, y, m)[0], a * b % p * rInverse % p) << a << " " << b;
    }
}

TEST(Montgomery, ReduceUndoesMontgomeryForm) {
  zepbase::Random random;
  const zepbase::Modulus mod = zepbase::MakeModulus(FromHex(kP));
  for (int i = 0; i < 20; ++i) {
    const Number512 a = zepbase::RandomBelow(mod.m.p, random);
    EXPECT_EQ(MontgomeryReduce(zepbase::ToMontgomery(a, mod), mod.m), a);
  }
}

TEST(Montgomery, BytesAreLittleEndian) {
  uint8_t bytes[64] = {};
  bytes[0] = 0x34;
  bytes[1] = 0x12;
  bytes[63] = 0xAB;
  const Number512 n = Number512FromBytes(bytes);
  EXPECT_EQ(n[0], 0x1234);
  EXPECT_EQ(n[31], 0xAB00);
  EXPECT_EQ(Number512ToBytes(n)[63], 0xAB);
}

TEST(SixBitCode, PacksFromTheLeastSignificantBit) {
  // '1' = 1 and 'A' = 10: bits 000001 then 001010 give the byte 0b10000001.
  EXPECT_EQ(DecodeSixBit("1A", 10), (std::vector<uint8_t>{0x81}));
  EXPECT_EQ(DecodeSixBit("/", 10), (std::vector<uint8_t>{}));  // 6 bits pending, no byte yet
  EXPECT_EQ(DecodeSixBit("//", 10), (std::vector<uint8_t>{0xFF}));
}

TEST(SixBitCode, StopsAtForeignCharacterAndAtTheLimit) {
  EXPECT_EQ(DecodeSixBit("1A-1A", 10), (std::vector<uint8_t>{0x81}));
  EXPECT_EQ(DecodeSixBit("zzzzzzzz", 2).size(), 2u);
}

TEST(SixBitCode, TwentySevenBytesMakeThirtySixCharactersAndBack) {
  std::vector<uint8_t> value(27);
  for (size_t i = 0; i < value.size(); ++i) value[i] = static_cast<uint8_t>(i * 37 + 200);
  const std::string text = EncodeSixBit(value);
  EXPECT_EQ(text.size(), 36u);
  EXPECT_EQ(DecodeSixBit(text, 27), value);
}

}  // namespace
}  // namespace scanner
