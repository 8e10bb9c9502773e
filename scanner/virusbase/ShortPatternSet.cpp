// Per-position lookup of the short patterns by their first byte pair.
#include "scanner/virusbase/ShortPatternSet.h"

#include <algorithm>
#include <cstring>

namespace scanner {
namespace {

uint32_t Pair(const uint8_t* p) {
  return p[0] | (uint32_t{p[1]} << 8);
}

}  // namespace

void ShortPatternSet::Build(std::vector<IndexedPattern> patterns) {
  ShortPatternSet built;
  std::vector<IndexedPattern> longer;
  for (const IndexedPattern& p : patterns) {
    built.minRank_ = std::min(built.minRank_, p.rank);
    if (p.length == 1)
      built.byteRank_[p.bytes[0]] = std::min(built.byteRank_[p.bytes[0]], p.rank);
    else
      longer.push_back(p);
  }
  std::sort(longer.begin(), longer.end(), [](const IndexedPattern& a, const IndexedPattern& b) {
    const uint32_t pa = Pair(a.bytes), pb = Pair(b.bytes);
    return pa != pb ? pa < pb : a.rank < b.rank;
  });
  if (!longer.empty()) {
    built.pairStart_.assign(kPairs + 1, 0);
    built.pairBits_.assign(kPairs / 64, 0);
    for (const IndexedPattern& p : longer) {
      const uint32_t pair = Pair(p.bytes);
      ++built.pairStart_[pair + 1];
      built.pairBits_[pair >> 6] |= uint64_t{1} << (pair & 63);
    }
    for (size_t i = 1; i <= kPairs; ++i) built.pairStart_[i] += built.pairStart_[i - 1];
  }
  built.patterns_ = std::move(longer);
  *this = std::move(built);
}

void ShortPatternSet::Scan(const uint8_t* text, size_t length, uint32_t& best) const {
  if (length == 0 || best <= minRank_) return;
  const bool pairs = !patterns_.empty();
  for (size_t at = 0; at < length; ++at) {
    best = std::min(best, byteRank_[text[at]]);
    if (pairs && at + 1 < length) {
      const uint32_t pair = Pair(text + at);
      if ((pairBits_[pair >> 6] >> (pair & 63)) & 1) {
        const size_t available = length - at;
        for (uint32_t i = pairStart_[pair]; i < pairStart_[pair + 1]; ++i) {
          const IndexedPattern& p = patterns_[i];
          if (p.rank >= best) break;  // the rest of the pair rank higher
          if (p.length <= available && std::memcmp(text + at + 2, p.bytes + 2, p.length - 2) == 0) {
            best = p.rank;
            break;
          }
        }
      }
    }
    if (best <= minRank_) return;
  }
}

size_t ShortPatternSet::MemoryBytes() const {
  return patterns_.capacity() * sizeof(IndexedPattern) + pairStart_.capacity() * sizeof(uint32_t) +
         pairBits_.capacity() * sizeof(uint64_t);
}

}  // namespace scanner
