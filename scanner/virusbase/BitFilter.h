// A bit filter over hashed keys: one bit per key, one load per test.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace scanner {

// BitFilter: answers "maybe present" for every key added and, for an absent
// key, about once in kBitsPerKey tests. A key is a well-mixed 64-bit hash (a
// multiplicative hash of the data); its top bits, as many as the filter's size
// takes, choose the bit, so that a test is a shift, one load and a bit test.
class BitFilter {
 public:
  // One bit in 32 set: fewer bits let through more absent keys. But past
  // 1 MiB the filter no longer stays in a core's nearer cache, which costs
  // more than the keys let through by a fuller filter.
  static constexpr size_t kBitsPerKey = 32;
  static constexpr unsigned kMaxLog2Bits = 23;

  // Reset: an empty filter sized for `keys` keys. Throws std::bad_alloc.
  void Reset(size_t keys) {
    const size_t wanted = std::max<size_t>(keys * kBitsPerKey, 64);
    const unsigned bits = std::min(static_cast<unsigned>(std::bit_width(wanted - 1)), kMaxLog2Bits);
    words_.assign((size_t{1} << bits) / 64, 0);
    shift_ = 64 - bits;
  }

  void Add(uint64_t hash) {
    const uint64_t at = hash >> shift_;
    words_[at >> 6] |= uint64_t{1} << (at & 63);
  }

  // Probe: the filter for a scan loop, its fields ready in registers.
  struct Probe {
    const uint64_t* words;
    unsigned shift;
    bool MayHold(uint64_t hash) const {
      const uint64_t at = hash >> shift;
      return (words[at >> 6] >> (at & 63)) & 1;
    }
  };
  Probe probe() const { return {words_.data(), shift_}; }

  size_t MemoryBytes() const { return words_.capacity() * sizeof(uint64_t); }

 private:
  std::vector<uint64_t> words_ = std::vector<uint64_t>(1);
  unsigned shift_ = 58;  // the top six bits choose among 64
};

}  // namespace scanner
