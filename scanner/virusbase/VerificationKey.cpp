// Parsing of the verification key and access to the built-in one.
#include "scanner/virusbase/VerificationKey.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "scanner/virusbase/BuiltinKey.h"
#include "scanner/virusbase/LittleEndian.h"
#include "scanner/virusbase/SignatureResult.h"
#include "scanner/virusbase/SixBitCode.h"

namespace scanner {
namespace {

bool HasTextPrefix(std::span<const uint8_t> key) {
  if (key.size() < 4) return false;
  return std::memcmp(key.data(), kKeyTextPrefix1, 4) == 0 ||
         std::memcmp(key.data(), kKeyTextPrefix2, 4) == 0;
}

int ParseStructure(std::span<const uint8_t> s, VerificationKey& out) {
  if (s.size() < kKeyIdOffset) return kKeyMalformed;
  const uint32_t length = LoadLe16(s.data() + kKeyLengthOffset);
  if (length < kKeyMinLength || length > kKeyMaxLength || length > s.size()) return kKeyMalformed;
  if (LoadLe32(s.data() + kKeyChecksumOffset) != KeyChecksum(s.first(length))) return kKeyMalformed;
  out.version = LoadLe32(s.data() + kKeyVersionOffset);
  if (out.version > kKeyMaxVersion) return kKeyVersionTooHigh;
  const uint32_t idLength = LoadLe16(s.data() + kKeyIdLengthOffset);
  if (idLength < kKeyMinIdLength || idLength > kKeyMaxIdLength) return kKeyMalformed;
  if (kKeyIdOffset + idLength + kKeyNumberCount * kKeyNumberSize > length) return kKeyMalformed;
  out.identifier.assign(reinterpret_cast<const char*>(s.data() + kKeyIdOffset), idLength);
  const uint8_t* numbers = s.data() + kKeyIdOffset + idLength;
  for (size_t k = 0; k < kKeyNumberCount; ++k)
    out.y[k] = Number512FromBytes({numbers + k * kKeyNumberSize, kKeyNumberSize});
  return kSignatureGenuine;
}

}  // namespace

uint32_t KeyChecksum(std::span<const uint8_t> structure) {
  uint32_t sum = 0;
  for (size_t i = kKeyLengthOffset; i < structure.size(); ++i) sum += structure[i];
  return sum;
}

int ParseVerificationKey(std::span<const uint8_t> key, VerificationKey& out) {
  if (key.empty()) return kNoKey;
  if (!HasTextPrefix(key)) return ParseStructure(key, out);
  const std::string_view text(reinterpret_cast<const char*>(key.data()) + 4, key.size() - 4);
  const std::vector<uint8_t> decoded = DecodeSixBit(text, kKeyMaxLength);
  return ParseStructure(decoded, out);
}

std::span<const uint8_t> BuiltinKey() {
  return builtin::kKey;
}

const GroupParameters& BuiltinGroup() {
  static const GroupParameters group = [] {
    GroupParameters g;
    g.modulus.p = Number512FromBytes(builtin::kModulus);
    g.modulus.n0 = builtin::kMontgomeryN0;
    g.montgomeryOne = Number512FromBytes(builtin::kMontgomeryOne);
    g.powersOfG = builtin::kPowersOfG;
    return g;
  }();
  return group;
}

}  // namespace scanner
