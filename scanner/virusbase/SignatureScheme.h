// The arithmetic and hashing of one signature: commitment R and challenge digest.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "scanner/virusbase/Sha0.h"
#include "scanner/virusbase/VerificationKey.h"

namespace scanner {

inline constexpr size_t kResponseSize = 18;   // s
inline constexpr size_t kCheckValueSize = 9;  // e
inline constexpr size_t kSignatureValueSize = kResponseSize + kCheckValueSize;
inline constexpr char kChallengeLabel[] = "Quillmark Lab SK 000";
inline constexpr size_t kChallengeLabelSize = 20;
inline constexpr size_t kChallengeIdSize = 128;
static_assert(sizeof kChallengeLabel == kChallengeLabelSize + 1);

// ComputeCommitment: R = g^s * y^e mod p as 64 bytes, least significant first.
// s (18 bytes) and e (9 bytes) are little-endian; the exponents are taken in
// 24-bit pieces with windows of up to 4 bits over the table of powers of g and
// up to 2 bits over y[k] and y[k]^3.
std::array<uint8_t, 64> ComputeCommitment(std::span<const uint8_t, kResponseSize> s,
                                          std::span<const uint8_t, kCheckValueSize> e,
                                          const VerificationKey& key, const GroupParameters& group);

// ChallengeDigest: a SHA-0 started from the content's chaining words (all 32
// bits of each) over the label, the identifier zero-padded to 128 bytes and R;
// the five words written least significant byte first.
std::array<uint8_t, 20> ChallengeDigest(const ChainingWords& content, std::string_view identifier,
                                        std::span<const uint8_t, 64> commitment);

}  // namespace scanner
