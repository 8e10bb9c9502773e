// The index part for patterns of seven bytes or more, found by sampling the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "scanner/virusbase/BitFilter.h"
#include "scanner/virusbase/IndexedPattern.h"

namespace scanner {

// LongPatternSet: finds the lowest-ranked of its patterns that occurs in a
// text. The text is sampled every kStride bytes, and a pattern puts its
// four-byte grams at offsets 0 to kStride - 1 into a filter, so any
// occurrence shows its gram at exactly one sample. Where text of few byte
// values makes four-byte grams common, a sample that passes gets a second
// look: the eight bytes there in a filter of the patterns of kWideLength
// bytes or more, or the four in a filter of the shorter ones alone. Then,
// for each of the kStride starts the occurrence may have, the prefix there
// is tested in a filter of the patterns' prefixes; only one that passes is
// looked up in the prefix table and compared in full. Read-only once built;
// Scan uses the stack alone, so any number of threads may scan at once.
class LongPatternSet {
 public:
  static constexpr uint32_t kStride = 4;
  static constexpr uint32_t kMinLength = kStride + 4 - 1;   // holds a four-byte gram
  static constexpr uint32_t kWideLength = kStride + 8 - 1;  // holds an eight-byte gram
  static constexpr uint32_t kPrefix = kMinLength;

  // Build: takes patterns of at least kMinLength bytes, no two alike. Throws
  // std::bad_alloc; the set is then left as it was.
  void Build(std::vector<IndexedPattern> patterns);

  // Scan: lowers best to the rank of the lowest-ranked pattern below best
  // that occurs in text[0, length); patterns ranked best or above are not
  // looked for. Returns early once nothing lower can be found.
  void Scan(const uint8_t* text, size_t length, uint32_t& best) const;

  bool empty() const { return patterns_.empty(); }
  uint32_t minRank() const { return minRank_; }
  // MemoryBytes: the heap the set holds.
  size_t MemoryBytes() const;

 private:
  struct Slot {
    uint64_t prefix = 0;
    uint32_t first = 0;  // into patterns_
    uint32_t count = 0;  // 0: empty slot
  };

  // Inlined into each caller, so that ScanBmi2 compiles it for BMI2.
  template <bool kNarrow>
  [[gnu::always_inline]] inline void ScanWith(const uint8_t* text, size_t length,
                                              uint32_t& best) const;
  // ScanBmi2: ScanWith built for processors with the BMI2 shifts.
  void ScanBmi2(const uint8_t* text, size_t length, uint32_t& best) const;
  // SecondLook: whether the sample's wide or narrow gram may be a pattern's.
  bool SecondLook(const uint8_t* text, size_t length, size_t sample) const;
  // Confirm: checks the kStride starts a filter hit at sample may belong to.
  void Confirm(const uint8_t* text, size_t length, size_t sample, uint32_t& best) const;
  const Slot* Lookup(uint64_t prefix) const;

  std::vector<IndexedPattern> patterns_;  // grouped by prefix, each group by rank
  std::vector<Slot> table_;               // open addressing, a power of two
  unsigned tableShift_ = 63;
  BitFilter grams_;        // four-byte grams of every pattern
  BitFilter wideGrams_;    // eight-byte grams of the patterns of kWideLength or more
  BitFilter narrowGrams_;  // four-byte grams of the shorter ones, hashed apart
  size_t narrowCount_ = 0;
  BitFilter prefixes_;
  uint32_t minRank_ = kNoRank;
};

}  // namespace scanner
