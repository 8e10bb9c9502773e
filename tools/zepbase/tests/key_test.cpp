// Big-number helpers, key generation, the key file and signing.
#include <gtest/gtest.h>

#include <fstream>

#include "scanner/virusbase/CheckSignature.h"
#include "tools/zepbase/BigNumber.h"
#include "tools/zepbase/PrivateKey.h"
#include "tools/zepbase/Signer.h"

namespace zepbase {
namespace {

Number512 Mersenne(int bits) {
  Number512 n{};
  for (int b = 0; b < bits; ++b) n[b / 16] |= static_cast<uint16_t>(1u << (b % 16));
  return n;
}

PrivateKey DemoKey() {
  std::ifstream in(ZEPBASE_DEMO_KEY);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  PrivateKey key;
  EXPECT_EQ(ParsePrivateKey(text, key), "");
  return key;
}

TEST(BigNumber, PrimalityOfKnownNumbers) {
  Random random;
  EXPECT_TRUE(IsProbablePrime(Mersenne(61), 20, random));
  EXPECT_TRUE(IsProbablePrime(Mersenne(89), 20, random));
  EXPECT_TRUE(IsProbablePrime(Mersenne(127), 20, random));
  EXPECT_FALSE(IsProbablePrime(Mersenne(67), 20, random));  // 193707721 * 761838257287
  Number512 product;
  ASSERT_TRUE(Multiply(Mersenne(61), Mersenne(89), product));
  EXPECT_FALSE(IsProbablePrime(product, 20, random));
  EXPECT_FALSE(IsProbablePrime(AddSmall(Mersenne(127), 1), 20, random));
}

TEST(BigNumber, HexRoundTripAndLimits) {
  Number512 n;
  ASSERT_TRUE(FromHex("00ABCdef0123", n));
  EXPECT_EQ(ToHex(n), "abcdef0123");
  EXPECT_EQ(ToHex(Number512{}), "0");
  EXPECT_FALSE(FromHex("", n));
  EXPECT_FALSE(FromHex("12g4", n));
  EXPECT_FALSE(FromHex(std::string(129, '1'), n));
  Number512 a = Mersenne(300), b = Mersenne(300), p;
  EXPECT_FALSE(Multiply(a, b, p));  // 600 bits do not fit
}

TEST(BigNumber, FermatHoldsForTheDemoModulus) {
  const PrivateKey key = DemoKey();
  const Modulus mod = MakeModulus(key.p);
  Number512 pMinus1 = key.p;
  pMinus1[0] &= 0xFFFE;
  EXPECT_EQ(ModPow(FromSmall(3), pMinus1, mod), FromSmall(1));
  EXPECT_EQ(ModPow(key.g, key.q, mod), FromSmall(1));
  EXPECT_EQ(ModMul(FromSmall(6), FromSmall(7), mod), FromSmall(42));
}

TEST(PrivateKey, DemoKeyMatchesTheBuiltinPublicKey) {
  const PrivateKey key = DemoKey();
  const std::vector<uint8_t> structure = PublicKeyStructure(key);
  EXPECT_EQ(structure,
            std::vector<uint8_t>(scanner::BuiltinKey().begin(), scanner::BuiltinKey().end()));
  std::vector<uint8_t> table;
  const scanner::GroupParameters group = PublicGroup(key, table);
  const scanner::GroupParameters& builtin = scanner::BuiltinGroup();
  EXPECT_EQ(group.modulus.p, builtin.modulus.p);
  EXPECT_EQ(group.modulus.n0, builtin.modulus.n0);
  EXPECT_EQ(group.montgomeryOne, builtin.montgomeryOne);
  EXPECT_TRUE(
      std::equal(table.begin(), table.end(), builtin.powersOfG.begin(), builtin.powersOfG.end()));
}

TEST(PrivateKey, FreshKeySignsWhatItsPublicSideVerifies) {
  Random random;
  const PrivateKey key = GenerateKey("Test Key For Unit Tests", random);  // 23 bytes
  EXPECT_EQ(BitLength(key.p), 512);
  EXPECT_LE(BitLength(key.q), 144);
  PrivateKey reread;
  PrivateKey padded = key;
  padded.identifier += "!";
  EXPECT_EQ(ParsePrivateKey(FormatPrivateKey(padded), reread), "");
  EXPECT_EQ(reread.x, key.x);

  Signer signer(padded);
  const std::vector<uint8_t> content(1000, 0x42);
  const auto signedBytes = signer.Sign(content);
  EXPECT_EQ(scanner::CheckSignatureWith(signedBytes, signer.publicKey(), signer.group()), 0);
  // The scanner's own key does not accept it.
  EXPECT_EQ(scanner::CheckSignature(signedBytes), scanner::kNoTrailer);
}

TEST(PrivateKey, PublicStructureLengthFollowsTheIdentifier) {
  // The key structure allows identifiers of 23 to 128 bytes; its length field
  // must count the identifier actually written.
  PrivateKey key = DemoKey();
  key.identifier = "Twenty-three byte ident";
  ASSERT_EQ(key.identifier.size(), 23u);
  const std::vector<uint8_t> structure = PublicKeyStructure(key);
  EXPECT_EQ(structure.size(), 227u);
  EXPECT_EQ(structure[4] | (structure[5] << 8), 227);
  scanner::VerificationKey parsed;
  ASSERT_EQ(scanner::ParseVerificationKey(structure, parsed), 0);
  EXPECT_EQ(parsed.identifier, key.identifier);

  Signer signer(key);
  EXPECT_EQ(scanner::CheckSignatureWith(signer.Sign(std::vector<uint8_t>(100, 7)),
                                        signer.publicKey(), signer.group()),
            0);
}

TEST(PrivateKey, DamagedKeyFilesAreRefused) {
  const std::string good = FormatPrivateKey(DemoKey());
  PrivateKey key;
  auto replace = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return ParsePrivateKey(text, key);
  };
  EXPECT_EQ(replace("identifier=", "# identifier="),
            "missing entries (identifier, p, q, g and x are needed)");
  EXPECT_EQ(replace("K1", "K12"), "the identifier must be 24 bytes");
  EXPECT_EQ(replace("g=", "g=1\n# "), "g does not have order q");
  EXPECT_EQ(replace("x=", "x=zz"), "not a hexadecimal number: x");
  EXPECT_EQ(replace("q=", "colour=1\nq="), "unknown entry: colour");
}

TEST(Signer, FixedNonceSignaturesStillVerify) {
  Signer signer(DemoKey());
  signer.UseFixedNonce(FromSmall(123456789));
  for (uint8_t fill : {0, 1, 2}) {
    const std::vector<uint8_t> content(200, fill);
    EXPECT_EQ(scanner::CheckSignature(signer.Sign(content)), 0);
  }
}

}  // namespace
}  // namespace zepbase
