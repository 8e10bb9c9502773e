// The key structure's checks and its text form.
#include <gtest/gtest.h>

#include <vector>

#include "scanner/virusbase/SignatureResult.h"
#include "scanner/virusbase/SixBitCode.h"
#include "scanner/virusbase/VerificationKey.h"

namespace scanner {
namespace {

std::vector<uint8_t> Builtin() {
  return {BuiltinKey().begin(), BuiltinKey().end()};
}

void Put16(std::vector<uint8_t>& k, size_t at, uint32_t v) {
  k[at] = static_cast<uint8_t>(v);
  k[at + 1] = static_cast<uint8_t>(v >> 8);
}

void FixChecksum(std::vector<uint8_t>& k) {
  const uint32_t sum = KeyChecksum(k);
  for (int i = 0; i < 4; ++i) k[i] = static_cast<uint8_t>(sum >> (8 * i));
}

TEST(VerificationKey, BuiltinKeyParses) {
  VerificationKey key;
  ASSERT_EQ(BuiltinKey().size(), kKeyLength);
  EXPECT_EQ(ParseVerificationKey(BuiltinKey(), key), 0);
  EXPECT_EQ(key.version, 1u);
  EXPECT_EQ(key.identifier, "Quillmark Lab ZEP PPC K1");
}

TEST(VerificationKey, MalformedStructuresAreRefused) {
  VerificationKey key;
  EXPECT_EQ(ParseVerificationKey({}, key), kNoKey);

  auto k = Builtin();
  k[100] ^= 1;  // checksum no longer matches
  EXPECT_EQ(ParseVerificationKey(k, key), kKeyMalformed);

  for (uint32_t length : {34u, 397u}) {
    k = Builtin();
    Put16(k, kKeyLengthOffset, length);
    FixChecksum(k);
    EXPECT_EQ(ParseVerificationKey(k, key), kKeyMalformed) << length;
  }
  for (uint32_t idLength : {22u, 129u, 60u /* leaves no room for three numbers */}) {
    k = Builtin();
    Put16(k, kKeyIdLengthOffset, idLength);
    FixChecksum(k);
    EXPECT_EQ(ParseVerificationKey(k, key), kKeyMalformed) << idLength;
  }
  k = Builtin();
  k.resize(200);  // shorter than its length field says
  EXPECT_EQ(ParseVerificationKey(k, key), kKeyMalformed);
}

TEST(VerificationKey, VersionAboveOneIsRefusedWithItsOwnCode) {
  auto k = Builtin();
  k[kKeyVersionOffset] = 2;
  FixChecksum(k);
  VerificationKey key;
  EXPECT_EQ(ParseVerificationKey(k, key), kKeyVersionTooHigh);
  k[kKeyVersionOffset] = 0;
  FixChecksum(k);
  EXPECT_EQ(ParseVerificationKey(k, key), 0);
}

TEST(VerificationKey, TextFormDecodesToTheSameKey) {
  VerificationKey binary;
  ASSERT_EQ(ParseVerificationKey(BuiltinKey(), binary), 0);
  for (const char* prefix : {kKeyTextPrefix1, kKeyTextPrefix2}) {
    const std::string text = prefix + EncodeSixBit(BuiltinKey());
    VerificationKey parsed;
    ASSERT_EQ(
        ParseVerificationKey({reinterpret_cast<const uint8_t*>(text.data()), text.size()}, parsed),
        0);
    EXPECT_EQ(parsed.identifier, binary.identifier);
    EXPECT_EQ(parsed.y, binary.y);
  }
  const std::string truncated = std::string(kKeyTextPrefix1) + "0123";
  VerificationKey parsed;
  EXPECT_EQ(ParseVerificationKey(
                {reinterpret_cast<const uint8_t*>(truncated.data()), truncated.size()}, parsed),
            kKeyMalformed);
}

}  // namespace
}  // namespace scanner
