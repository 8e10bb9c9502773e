// Byte layout of a base file: header, chunk headers, chunk types and payload scrambling.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace scanner {

inline constexpr char kBaseMagic[] = "ZEP PPC Virus Database v1.0";
inline constexpr uint32_t kBaseFormatMark = 0x1234;

// BaseHeader: the 52 bytes at the start of a base file (little-endian).
struct BaseHeader {
  char magic[32];
  uint32_t build;        // the producer's build value, not interpreted
  uint32_t recordCount;  // N
  uint32_t formatMark;   // 0x1234
  uint8_t reserved[8];
};
static_assert(sizeof(BaseHeader) == 52);
static_assert(offsetof(BaseHeader, build) == 32);
static_assert(offsetof(BaseHeader, recordCount) == 36);
static_assert(offsetof(BaseHeader, formatMark) == 40);
static_assert(offsetof(BaseHeader, reserved) == 44);

// ChunkHeader: the 8 bytes before each chunk's payload.
struct ChunkHeader {
  uint16_t type;
  uint16_t flags;
  uint32_t length;  // payload length, or the value when kChunkHasValue is set
};
static_assert(sizeof(ChunkHeader) == 8);
static_assert(offsetof(ChunkHeader, flags) == 2);
static_assert(offsetof(ChunkHeader, length) == 4);

inline constexpr uint16_t kChunkHasValue = 0x0001;  // flag bit 0: no payload

enum class ChunkType : uint16_t {
  kName = 1,         // 64 bytes, scrambled: UTF-16 name, NUL-padded
  kSignature = 2,    // scrambled byte pattern
  kValue = 3,        // value in the length field
  kDescription = 4,  // scrambled UTF-16 text without NUL
  kEndOfRecord = 254,
  kFileEnd = 255,
};

inline constexpr size_t kNamePayloadSize = 64;
inline constexpr size_t kDescriptionKeptBytes = 256;

// The scrambling key shared with the producer: payload byte i is XORed with
// kScrambleKey[i % 8].
inline constexpr uint8_t kScrambleKey[8] = {0x5A, 0xC3, 0x17, 0x9E, 0x64, 0x2B, 0xF0, 0x8D};

// Scramble: XORs a payload with the scrambling key in place, counting from
// the start of the payload; applying it twice restores the bytes.
inline void Scramble(std::span<uint8_t> payload) {
  for (size_t i = 0; i < payload.size(); ++i) payload[i] ^= kScrambleKey[i % 8];
}

}  // namespace scanner
