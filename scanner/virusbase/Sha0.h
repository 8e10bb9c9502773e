// SHA-0, the hash of the 1993 Secure Hash Standard, with its chaining words exposed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace scanner {

using ChainingWords = std::array<uint32_t, 5>;

// Sha0: SHA-1's initial values, rounds, constants and padding, but with the
// message schedule W[t] = W[t-3] ^ W[t-8] ^ W[t-14] ^ W[t-16] (no rotation).
class Sha0 {
 public:
  // The largest piece the signature check hands to Update at one time.
  static constexpr size_t kMaxPiece = 0x7000;

  // Sha0: a hash started from the standard initial values.
  Sha0();
  // Sha0: a hash started from chosen chaining words, with the byte count at 0.
  explicit Sha0(const ChainingWords& start);

  // Update: feeds bytes; any piece size gives the same result.
  void Update(std::span<const uint8_t> bytes);

  // Finish: pads, processes the final block(s) and returns the five chaining
  // words after the last block. The object is spent afterwards.
  ChainingWords Finish();

  // DigestBigEndian: the standard 20-byte digest form of chaining words.
  static std::array<uint8_t, 20> DigestBigEndian(const ChainingWords& words);
  // DigestLittleEndian: each word least significant byte first.
  static std::array<uint8_t, 20> DigestLittleEndian(const ChainingWords& words);

 private:
  void Compress(const uint8_t* block);

  ChainingWords h_;
  uint64_t byteCount_ = 0;
  uint8_t buffer_[64] = {};
  size_t buffered_ = 0;
};

}  // namespace scanner
