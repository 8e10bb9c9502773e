// Windowed multi-exponentiation in Montgomery form and the challenge hash.
#include "scanner/virusbase/SignatureScheme.h"

#include <cstring>

namespace scanner {
namespace {

constexpr int kPieceBits = 24;

// Window: at bit position `low` of its piece, multiply by the odd power `value`.
struct Window {
  int low;
  uint32_t value;
};

uint32_t Piece(std::span<const uint8_t> bytes, size_t k) {
  return uint32_t{bytes[3 * k]} | (uint32_t{bytes[3 * k + 1]} << 8) |
         (uint32_t{bytes[3 * k + 2]} << 16);
}

// SlidingWindows: left-to-right odd windows of at most maxBits bits; returns
// how many were written to out (at most 24).
int SlidingWindows(uint32_t piece, int maxBits, Window* out) {
  int count = 0;
  for (int i = kPieceBits - 1; i >= 0;) {
    if (((piece >> i) & 1) == 0) {
      --i;
      continue;
    }
    int low = i - maxBits + 1 < 0 ? 0 : i - maxBits + 1;
    while (((piece >> low) & 1) == 0) ++low;
    out[count++] = {low, (piece >> low) & ((1u << (i - low + 1)) - 1)};
    i = low - 1;
  }
  return count;
}

}  // namespace

std::array<uint8_t, 64> ComputeCommitment(std::span<const uint8_t, kResponseSize> s,
                                          std::span<const uint8_t, kCheckValueSize> e,
                                          const VerificationKey& key,
                                          const GroupParameters& group) {
  const MontgomeryModulus& m = group.modulus;
  constexpr int kSPieces = kResponseSize / 3;
  constexpr int kEPieces = kCheckValueSize / 3;

  Window windows[kSPieces + kEPieces][kPieceBits];
  int counts[kSPieces + kEPieces];
  int next[kSPieces + kEPieces] = {};
  for (int k = 0; k < kSPieces; ++k) counts[k] = SlidingWindows(Piece(s, k), 4, windows[k]);
  for (int k = 0; k < kEPieces; ++k)
    counts[kSPieces + k] = SlidingWindows(Piece(e, k), 2, windows[kSPieces + k]);

  Number512 yCubed[kEPieces];
  for (int k = 0; k < kEPieces; ++k)
    yCubed[k] = MontgomeryProduct(MontgomeryProduct(key.y[k], key.y[k], m), key.y[k], m);

  Number512 acc = group.montgomeryOne;
  bool started = false;
  for (int bit = kPieceBits - 1; bit >= 0; --bit) {
    if (started) acc = MontgomeryProduct(acc, acc, m);
    for (int k = 0; k < kSPieces + kEPieces; ++k) {
      if (next[k] == counts[k] || windows[k][next[k]].low != bit) continue;
      const uint32_t value = windows[k][next[k]++].value;
      Number512 factor;
      if (k < kSPieces) {
        const size_t index = (static_cast<size_t>(k) * kPowersPerPiece + (value - 1) / 2) * 64;
        factor = Number512FromBytes(group.powersOfG.subspan(index, 64));
      } else {
        factor = value == 1 ? key.y[k - kSPieces] : yCubed[k - kSPieces];
      }
      acc = started ? MontgomeryProduct(acc, factor, m) : factor;
      started = true;
    }
  }
  return Number512ToBytes(MontgomeryReduce(acc, m));
}

std::array<uint8_t, 20> ChallengeDigest(const ChainingWords& content, std::string_view identifier,
                                        std::span<const uint8_t, 64> commitment) {
  uint8_t id[kChallengeIdSize] = {};
  std::memcpy(id, identifier.data(),
              identifier.size() < kChallengeIdSize ? identifier.size() : kChallengeIdSize);
  // Seeded with the full chaining words, so the signature binds the whole
  // 160-bit content digest rather than one byte of each word.
  Sha0 h(content);
  h.Update({reinterpret_cast<const uint8_t*>(kChallengeLabel), kChallengeLabelSize});
  h.Update(id);
  h.Update(commitment);
  return Sha0::DigestLittleEndian(h.Finish());
}

}  // namespace scanner
