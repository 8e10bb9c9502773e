// One signature as the index holds it: the bytes that are compared and the record's rank.
#pragma once

#include <cstdint>
#include <limits>

namespace scanner {

// kNoRank: "no record found yet"; greater than every real rank.
inline constexpr uint32_t kNoRank = std::numeric_limits<uint32_t>::max();

// IndexedPattern: a signature without its first byte (which the search never
// compares), and the rank of its record, 0 for the head of the list. The
// bytes stay owned by the record.
struct IndexedPattern {
  const uint8_t* bytes = nullptr;
  uint32_t length = 0;
  uint32_t rank = kNoRank;
};

}  // namespace scanner
