// The public verification key: its binary structure, its text form and the group it works in.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "scanner/virusbase/Number512.h"

namespace scanner {

// Byte layout of the key structure (little-endian, unaligned fields).
inline constexpr size_t kKeyChecksumOffset = 0;
inline constexpr size_t kKeyLengthOffset = 4;
inline constexpr size_t kKeyVersionOffset = 6;
inline constexpr size_t kKeyIdLengthOffset = 10;
inline constexpr size_t kKeyIdOffset = 12;
inline constexpr size_t kKeyNumberSize = 64;
inline constexpr size_t kKeyMinLength = 35;
inline constexpr size_t kKeyMaxLength = 396;
inline constexpr size_t kKeyMinIdLength = 23;
inline constexpr size_t kKeyMaxIdLength = 128;
inline constexpr uint32_t kKeyMaxVersion = 1;
// The key this system uses: 24-byte identifier and three numbers.
inline constexpr size_t kKeyIdLength = 24;
inline constexpr size_t kKeyNumberCount = 3;
inline constexpr size_t kKeyLength = kKeyIdOffset + kKeyIdLength + kKeyNumberCount * kKeyNumberSize;
static_assert(kKeyLength == 228);
static_assert(kKeyIdOffset + kKeyMaxIdLength + 4 * kKeyNumberSize == kKeyMaxLength);

// The prefixes that mark a key given in its 6-bit text form.
inline constexpr char kKeyTextPrefix1[] = "0001";
inline constexpr char kKeyTextPrefix2[] = "0002";

// VerificationKey: a parsed key. y[k] is y^(2^(24k)) in Montgomery form.
struct VerificationKey {
  uint32_t version = 0;
  std::string identifier;  // 23 to 128 bytes, as stored
  std::array<Number512, kKeyNumberCount> y{};
};

// GroupParameters: the constants the key goes with: the modulus p with its
// Montgomery constant, R mod p, and the odd powers g^(j * 2^(24k)), j = 1, 3,
// ..., 15, k = 0 ... 5, as 6 x 8 Montgomery-form numbers of 64 bytes.
struct GroupParameters {
  MontgomeryModulus modulus;
  Number512 montgomeryOne{};
  std::span<const uint8_t> powersOfG;
};
inline constexpr size_t kPowerPieces = 6;
inline constexpr size_t kPowersPerPiece = 8;
inline constexpr size_t kPowersOfGSize = kPowerPieces * kPowersPerPiece * kKeyNumberSize;

// ParseVerificationKey: reads a key in binary or text form into out. Returns 0;
// -1006 for no key bytes; -1002 for a bad length, identifier length or
// checksum, or fewer than three numbers; -1004 for a version above 1. On a
// failure out is unspecified.
int ParseVerificationKey(std::span<const uint8_t> key, VerificationKey& out);

// KeyChecksum: the plain sum of the bytes after the checksum field.
uint32_t KeyChecksum(std::span<const uint8_t> structure);

// BuiltinKey: the program's public key structure (228 bytes).
std::span<const uint8_t> BuiltinKey();

// BuiltinGroup: the constants that go with the built-in key.
const GroupParameters& BuiltinGroup();

}  // namespace scanner
