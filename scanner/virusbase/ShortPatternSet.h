// The index part for patterns of one to six bytes, looked up at every position of the text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scanner/virusbase/IndexedPattern.h"

namespace scanner {

// ShortPatternSet: finds the lowest-ranked of its patterns that occurs in a
// text. Too short to be sampled, they are looked up at every position: a
// one-byte pattern by its byte, a longer one by its first two bytes. Read-only
// once built; Scan uses the stack alone.
class ShortPatternSet {
 public:
  static constexpr uint32_t kMaxLength = 6;

  ShortPatternSet() { byteRank_.fill(kNoRank); }

  // Build: takes patterns of 1 to kMaxLength bytes, no two alike. Throws
  // std::bad_alloc; the set is then left empty.
  void Build(std::vector<IndexedPattern> patterns);

  // Scan: as LongPatternSet::Scan.
  void Scan(const uint8_t* text, size_t length, uint32_t& best) const;

  bool empty() const { return minRank_ == kNoRank; }
  uint32_t minRank() const { return minRank_; }
  size_t MemoryBytes() const;

 private:
  static constexpr size_t kPairs = 65536;

  std::array<uint32_t, 256> byteRank_;    // rank of the one-byte pattern, or kNoRank
  std::vector<IndexedPattern> patterns_;  // of two bytes or more, by first pair, then rank
  std::vector<uint32_t> pairStart_;       // kPairs + 1 offsets into patterns_
  std::vector<uint64_t> pairBits_;        // pairs that begin a pattern
  uint32_t minRank_ = kNoRank;
};

}  // namespace scanner
