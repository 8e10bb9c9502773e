// The producer's key pair: generation, the private key file, and the public side the scanner
// compiles in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scanner/virusbase/VerificationKey.h"
#include "tools/zepbase/BigNumber.h"

namespace zepbase {

inline constexpr int kSubgroupBits = 144;  // s must fit in 18 bytes
inline constexpr int kModulusBits = 512;
inline constexpr char kDefaultIdentifier[] = "Quillmark Lab ZEP PPC K1";
static_assert(sizeof kDefaultIdentifier - 1 == scanner::kKeyIdLength);

// PrivateKey: primes q | p - 1, g of order q mod p, secret x; y = g^x mod p.
struct PrivateKey {
  std::string identifier;
  Number512 p{}, q{}, g{}, x{};
};

// GenerateKey: a fresh key pair with the given 24-byte identifier.
PrivateKey GenerateKey(const std::string& identifier, Random& random);

// WritePrivateKey / ReadPrivateKey: the text file form ("name=hex" lines,
// '#' comments). ReadPrivateKey returns an empty string on success, else a
// message; it checks the numbers' sizes and that g has order q.
std::string FormatPrivateKey(const PrivateKey& key);
std::string ParsePrivateKey(const std::string& text, PrivateKey& key);

// PublicValue: y = g^x mod p.
Number512 PublicValue(const PrivateKey& key);

// PublicKeyStructure: the verification key structure, 228 bytes for a 24-byte
// identifier (checksum, total length, version 1, identifier, y, y^(2^24),
// y^(2^48) in Montgomery form).
std::vector<uint8_t> PublicKeyStructure(const PrivateKey& key);

// PublicGroup: p's Montgomery constants and the table of powers of g the
// verifier uses; powersOfG points into table, which the caller keeps.
scanner::GroupParameters PublicGroup(const PrivateKey& key, std::vector<uint8_t>& table);

// BuiltinKeySource: the C++ source of scanner/virusbase/BuiltinKey.cpp for key.
std::string BuiltinKeySource(const PrivateKey& key);

}  // namespace zepbase
