// Sampled gram filters over the long patterns, confirmed by prefix filter, table and compare.
#include "scanner/virusbase/LongPatternSet.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

namespace scanner {
namespace {

constexpr uint64_t kGramMultiplier = 0x9E3779B97F4A7C15ull;
constexpr uint64_t kWideMultiplier = 0xFF51AFD7ED558CCDull;
constexpr uint64_t kNarrowMultiplier = 0xD6E8FEB86659FD93ull;
constexpr uint64_t kPrefixMultiplier = 0xA0761D6478BD642Full;
constexpr uint64_t kTableMultiplier = 0xC2B2AE3D27D4EB4Full;
// Samples per block; the share of them (1 in kDenseShare) passing the first
// filter above which the next kDenseBlocks blocks go without it.
constexpr size_t kBlockSamples = 1024;
constexpr size_t kDenseShare = 8;
constexpr unsigned kDenseBlocks = 8;

// Load: the first `bytes` (<= 8) bytes at p as one number, the same whichever
// way they are loaded; available is how many bytes may be read from p.
template <unsigned bytes>
uint64_t Load(const uint8_t* p, size_t available) {
  uint64_t k = 0;
  if constexpr (bytes == 8) {
    std::memcpy(&k, p, 8);
  } else if (available >= 8) {
    constexpr uint64_t kLow = (uint64_t{1} << (8 * bytes)) - 1;
    constexpr uint64_t kHigh = ~((uint64_t{1} << (8 * (8 - bytes))) - 1);
    std::memcpy(&k, p, 8);
    k &= std::endian::native == std::endian::little ? kLow : kHigh;
  } else {
    std::memcpy(&k, p, bytes);
  }
  return k;
}

// SplitGrams: the four-byte grams at offsets 0 and 4 of eight loaded bytes,
// as Load<4> gives them.
void SplitGrams(uint64_t eight, uint64_t& first, uint64_t& second) {
  if constexpr (std::endian::native == std::endian::little) {
    first = eight & 0xFFFFFFFFu;
    second = eight >> 32;
  } else {
    first = eight & ~uint64_t{0xFFFFFFFFu};
    second = eight << 32;
  }
}

#if defined(__x86_64__)
// UseBmi2: whether the processor has BMI2 and the environment does not ask
// for the portable scan (QM_INDEX_INSTRUCTIONS=portable, which tests use to
// cover it on processors that have BMI2).
bool UseBmi2() {
  const char* choice = std::getenv("QM_INDEX_INSTRUCTIONS");
  if (choice != nullptr && std::strcmp(choice, "portable") == 0) return false;
  return __builtin_cpu_supports("bmi2");
}
#endif

}  // namespace

void LongPatternSet::Build(std::vector<IndexedPattern> patterns) {
  std::sort(patterns.begin(), patterns.end(), [](const IndexedPattern& a, const IndexedPattern& b) {
    const int c = std::memcmp(a.bytes, b.bytes, kPrefix);
    return c != 0 ? c < 0 : a.rank < b.rank;
  });
  const auto samePrefix = [&](size_t a, size_t b) {
    return std::memcmp(patterns[a].bytes, patterns[b].bytes, kPrefix) == 0;
  };
  size_t groups = 0, wide = 0;
  for (size_t i = 0; i < patterns.size(); ++i) {
    if (i == 0 || !samePrefix(i - 1, i)) ++groups;
    if (patterns[i].length >= kWideLength) ++wide;
  }

  LongPatternSet built;
  // At most half full, so that a miss ends after a probe or two.
  const unsigned tableBits = static_cast<unsigned>(std::bit_width(groups * 2 + 1));
  built.table_.resize(size_t{1} << tableBits);
  built.tableShift_ = 64 - tableBits;
  built.grams_.Reset(patterns.size() * kStride);
  built.wideGrams_.Reset(wide * kStride);
  built.narrowCount_ = patterns.size() - wide;
  built.narrowGrams_.Reset(built.narrowCount_ * kStride);
  built.prefixes_.Reset(groups);

  const size_t mask = built.table_.size() - 1;
  for (size_t i = 0; i < patterns.size();) {
    const uint64_t prefix = Load<kPrefix>(patterns[i].bytes, kPrefix);
    size_t end = i + 1;
    while (end < patterns.size() && samePrefix(i, end)) ++end;
    size_t at = (prefix * kTableMultiplier) >> built.tableShift_;
    while (built.table_[at].count != 0) at = (at + 1) & mask;
    built.table_[at] = {prefix, static_cast<uint32_t>(i), static_cast<uint32_t>(end - i)};
    built.prefixes_.Add(prefix * kPrefixMultiplier);
    for (; i < end; ++i) {
      const IndexedPattern& p = patterns[i];
      for (uint32_t o = 0; o < kStride; ++o) {
        built.grams_.Add(Load<4>(p.bytes + o, 4) * kGramMultiplier);
        if (p.length >= kWideLength)
          built.wideGrams_.Add(Load<8>(p.bytes + o, 8) * kWideMultiplier);
        else
          built.narrowGrams_.Add(Load<4>(p.bytes + o, 4) * kNarrowMultiplier);
      }
      built.minRank_ = std::min(built.minRank_, p.rank);
    }
  }
  built.patterns_ = std::move(patterns);
  *this = std::move(built);
}

auto LongPatternSet::Lookup(uint64_t prefix) const -> const Slot* {
  const size_t mask = table_.size() - 1;
  for (size_t at = (prefix * kTableMultiplier) >> tableShift_;; at = (at + 1) & mask) {
    const Slot& slot = table_[at];
    if (slot.count == 0) return nullptr;
    if (slot.prefix == prefix) return &slot;
  }
}

void LongPatternSet::Confirm(const uint8_t* text, size_t length, size_t sample,
                             uint32_t& best) const {
  // The occurrence seen at this sample starts 0 to kStride - 1 bytes before
  // it. All prefixes are tested first so that only a hit costs a branch.
  const BitFilter::Probe prefixes = prefixes_.probe();
  uint64_t prefix[kStride];
  uint32_t hits = 0;
  if (sample >= kStride - 1 && length - sample >= 8) {
    // Away from both ends, as nearly always: eight bytes at every start.
    for (unsigned back = 0; back < kStride; ++back) {
      prefix[back] = Load<kPrefix>(text + sample - back, 8);
      hits |= uint32_t{prefixes.MayHold(prefix[back] * kPrefixMultiplier)} << back;
    }
  } else {
    for (unsigned back = 0; back < kStride && back <= sample; ++back) {
      const size_t available = length - (sample - back);
      if (available < kMinLength) continue;
      prefix[back] = Load<kPrefix>(text + sample - back, available);
      hits |= uint32_t{prefixes.MayHold(prefix[back] * kPrefixMultiplier)} << back;
    }
  }
  for (; hits != 0; hits &= hits - 1) {
    const unsigned back = static_cast<unsigned>(std::countr_zero(hits));
    const Slot* slot = Lookup(prefix[back]);
    if (slot == nullptr) continue;
    const size_t start = sample - back;
    const size_t available = length - start;
    const IndexedPattern* group = patterns_.data() + slot->first;
    for (uint32_t i = 0; i < slot->count && group[i].rank < best; ++i) {
      const IndexedPattern& p = group[i];
      if (p.length <= available &&
          std::memcmp(text + start + kPrefix, p.bytes + kPrefix, p.length - kPrefix) == 0) {
        best = p.rank;  // the group is in rank order: the rest rank higher
        break;
      }
    }
  }
}

bool LongPatternSet::SecondLook(const uint8_t* text, size_t length, size_t sample) const {
  if (narrowCount_ > 0 &&
      narrowGrams_.probe().MayHold(Load<4>(text + sample, 4) * kNarrowMultiplier))
    return true;
  // A wide pattern's sample is at least eight bytes from the end.
  return length - sample >= 8 &&
         wideGrams_.probe().MayHold(Load<8>(text + sample, 8) * kWideMultiplier);
}

void LongPatternSet::Scan(const uint8_t* text, size_t length, uint32_t& best) const {
  if (patterns_.empty() || length < kMinLength || best <= minRank_) return;
#if defined(__x86_64__)
  // Each filter test shifts by an amount known only at run time; BMI2 does
  // that in one instruction where the base instruction set takes three.
  static const bool bmi2 = UseBmi2();
  if (bmi2) return ScanBmi2(text, length, best);
#endif
  if (narrowCount_ > 0)
    ScanWith<true>(text, length, best);
  else
    ScanWith<false>(text, length, best);
}

#if defined(__x86_64__)
[[gnu::target("bmi2")]] void LongPatternSet::ScanBmi2(const uint8_t* text, size_t length,
                                                      uint32_t& best) const {
  if (narrowCount_ > 0)
    ScanWith<true>(text, length, best);
  else
    ScanWith<false>(text, length, best);
}
#endif

template <bool kNarrow>
inline void LongPatternSet::ScanWith(const uint8_t* text, size_t length, uint32_t& best) const {
  const BitFilter::Probe grams = grams_.probe();
  const BitFilter::Probe narrow = narrowGrams_.probe();
  const BitFilter::Probe wide = wideGrams_.probe();
  const uint32_t floor = minRank_;
  // Check: the second look and the confirmation of a sample that passed the
  // first filter; false once nothing lower can be found.
  const auto check = [&](size_t sample) {
    if (!SecondLook(text, length, sample)) return true;
    Confirm(text, length, sample, best);
    return best > floor;
  };
  // An occurrence at p holds the gram of the first sample at or after p,
  // which lies at most kStride - 1 bytes in; that gram ends by the text's end.
  // Samples go in blocks, two from each eight-byte load. Where many pass the
  // first filter (text of few byte values) the branch on it cannot be
  // predicted, and it hardly filters: the next blocks skip it and take the
  // second look at every sample, branching only on its outcome, until a
  // block of the first kind measures again.
  size_t s = 0;
  unsigned denseBlocks = 0;
  while (length - s >= 8) {
    const size_t pairs = std::min<size_t>(kBlockSamples / 2, (length - s - 8) / (2 * kStride) + 1);
    const size_t blockEnd = s + pairs * 2 * kStride;
    if (denseBlocks > 0) {
      --denseBlocks;
      for (const size_t end = std::min(blockEnd, length - 8 + 1); s < end; s += kStride) {
        unsigned pass = wide.MayHold(Load<8>(text + s, 8) * kWideMultiplier);
        if constexpr (kNarrow) pass |= narrow.MayHold(Load<4>(text + s, 8) * kNarrowMultiplier);
        if (pass == 0) continue;
        Confirm(text, length, s, best);
        if (best <= floor) return;
      }
      continue;
    }
    size_t passed = 0;
    for (; s < blockEnd; s += 2 * kStride) {
      uint64_t first, second;
      SplitGrams(Load<8>(text + s, 8), first, second);
      const bool a = grams.MayHold(first * kGramMultiplier);
      const bool b = grams.MayHold(second * kGramMultiplier);
      if (!(a || b)) continue;
      if (a) {
        ++passed;
        if (!check(s)) return;
      }
      if (b) {
        ++passed;
        if (!check(s + kStride)) return;
      }
    }
    if (passed * kDenseShare > kBlockSamples) denseBlocks = kDenseBlocks;
  }
  for (; length - s >= 4; s += kStride) {
    if (grams.MayHold(Load<4>(text + s, 4) * kGramMultiplier) && !check(s)) return;
  }
}

size_t LongPatternSet::MemoryBytes() const {
  return patterns_.capacity() * sizeof(IndexedPattern) + table_.capacity() * sizeof(Slot) +
         grams_.MemoryBytes() + wideGrams_.MemoryBytes() + narrowGrams_.MemoryBytes() +
         prefixes_.MemoryBytes();
}

}  // namespace scanner
