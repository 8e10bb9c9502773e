// The signature trailer: 64-byte blocks that end the file, and how they are found.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace scanner {

inline constexpr size_t kBlockSize = 64;
inline constexpr size_t kMaxTrailerBlocks = 20;
inline constexpr uint8_t kBlockPrefix[4] = {0x0D, 0x0A, 0x3B, 0x20};
inline constexpr size_t kBlockSignerOffset = 4;
inline constexpr size_t kBlockSignerSize = 22;
inline constexpr size_t kBlockValueOffset = 26;
inline constexpr size_t kBlockValueSize = 36;
inline constexpr size_t kBlockEndOffset = 62;
inline constexpr uint8_t kBlockEndMark = 0xAD;
static_assert(kBlockSignerOffset + kBlockSignerSize == kBlockValueOffset);
static_assert(kBlockValueOffset + kBlockValueSize == kBlockEndOffset);
static_assert(kBlockEndOffset + 2 == kBlockSize);

// Trailer: where the run of blocks that ends the file starts, and how many
// blocks it has (0 when the file has no trailer).
struct Trailer {
  size_t start = 0;
  size_t blockCount = 0;
};

// FindTrailer: searches for the block prefix from the start; from each hit takes
// consecutive well-formed blocks, and on a failed candidate forgets them and
// searches again from the byte after that candidate's start. Only a run that
// ends exactly at the end of bytes counts. The count is not capped here.
Trailer FindTrailer(std::span<const uint8_t> bytes);

}  // namespace scanner
