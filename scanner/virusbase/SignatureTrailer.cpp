// Forward search for the signature trailer.
#include "scanner/virusbase/SignatureTrailer.h"

#include <cstring>

namespace scanner {
namespace {

bool IsBlockAt(std::span<const uint8_t> d, size_t at) {
  if (d.size() - at < kBlockSize) return false;
  const uint8_t* b = d.data() + at;
  return std::memcmp(b, kBlockPrefix, sizeof kBlockPrefix) == 0 &&
         b[kBlockEndOffset] == kBlockEndMark && b[kBlockEndOffset + 1] == kBlockEndMark;
}

// FindPrefix: the offset of the next complete prefix at or after from, or size.
size_t FindPrefix(std::span<const uint8_t> d, size_t from) {
  while (from + sizeof kBlockPrefix <= d.size()) {
    const void* hit = std::memchr(d.data() + from, kBlockPrefix[0], d.size() - from);
    if (hit == nullptr) break;
    const size_t at = static_cast<size_t>(static_cast<const uint8_t*>(hit) - d.data());
    if (d.size() - at >= sizeof kBlockPrefix &&
        std::memcmp(d.data() + at, kBlockPrefix, sizeof kBlockPrefix) == 0)
      return at;
    from = at + 1;
  }
  return d.size();
}

}  // namespace

Trailer FindTrailer(std::span<const uint8_t> bytes) {
  size_t from = 0;
  for (;;) {
    const size_t start = FindPrefix(bytes, from);
    if (start == bytes.size()) return {};
    size_t at = start;
    size_t count = 0;
    while (at < bytes.size() && IsBlockAt(bytes, at)) {
      ++count;
      at += kBlockSize;
    }
    if (at == bytes.size()) return {start, count};
    from = at + 1;  // the failed candidate started at `at`
  }
}

}  // namespace scanner
