// The 52-byte header at the start of every encrypted-folder container file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace folders {

inline constexpr uint32_t kSectorSize = 512;
inline constexpr uint32_t kHeaderSize = 52;
inline constexpr uint32_t kFormatVersion = 1;
inline constexpr uint32_t kHeaderConstant = 14;
inline constexpr uint32_t kLargestAlgorithm = 50;  // a header naming a higher one is no container

// Cipher numbers of the `algorithm` field.
inline constexpr uint16_t kCipherRc4 = 2;  // fills a new container; never a folder cipher
inline constexpr uint16_t kCipherRc5 = 3;
inline constexpr uint16_t kCipherRc6 = 4;
inline constexpr uint16_t kCipherRijndael128 = 5;
inline constexpr uint16_t kCipherRijndael256 = 6;

// ContainerHeader: little-endian on disk, as laid out here.
struct ContainerHeader {
  uint32_t formatVersion;
  uint32_t sectorCount;  // size in KB × 2
  uint32_t sectorSize;
  uint32_t reserved[3];
  uint32_t headerConstant;
  uint32_t algorithm;  // written from a 16-bit cipher number
  uint32_t timeoutSeconds;
  uint8_t passwordDigest[16];
};
static_assert(sizeof(ContainerHeader) == kHeaderSize);
static_assert(offsetof(ContainerHeader, formatVersion) == 0);
static_assert(offsetof(ContainerHeader, sectorCount) == 4);
static_assert(offsetof(ContainerHeader, sectorSize) == 8);
static_assert(offsetof(ContainerHeader, reserved) == 12);
static_assert(offsetof(ContainerHeader, headerConstant) == 24);
static_assert(offsetof(ContainerHeader, algorithm) == 28);
static_assert(offsetof(ContainerHeader, timeoutSeconds) == 32);
static_assert(offsetof(ContainerHeader, passwordDigest) == 36);

// SectorOffset: the file offset of data sector n.
constexpr uint64_t SectorOffset(uint32_t n) {
  return kHeaderSize + uint64_t{kSectorSize} * n;
}

}  // namespace folders
