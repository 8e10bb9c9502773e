// Building the signature index from the record list, and the one-pass lookup.
#include "scanner/virusbase/SignatureIndex.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/Errors.h"

namespace scanner {
namespace {

// SameBytes / ByBytes: byte-wise order of patterns, then rank, so that alike
// patterns lie together with the first in list order ahead.
bool SameBytes(const IndexedPattern& a, const IndexedPattern& b) {
  return a.length == b.length && std::memcmp(a.bytes, b.bytes, a.length) == 0;
}

bool ByBytes(const IndexedPattern& a, const IndexedPattern& b) {
  const int c = std::memcmp(a.bytes, b.bytes, std::min(a.length, b.length));
  if (c != 0) return c < 0;
  if (a.length != b.length) return a.length < b.length;
  return a.rank < b.rank;
}

}  // namespace

std::unique_ptr<SignatureIndex> SignatureIndex::Build(const VirusRecord* head) {
  auto index = std::make_unique<SignatureIndex>();
  index->head_ = head;
  std::vector<IndexedPattern> patterns;
  uint32_t rank = 0;
  for (const VirusRecord* r = head; r != nullptr; r = r->next, ++rank) {
    index->records_.push_back(r);
    if (r->signatureLength == 0 || r->signature == nullptr) continue;  // never matches
    if (r->signatureLength == 1) {
      // Matches every non-empty object, so no record after it can be the answer.
      index->anyByteRank_ = rank;
      break;
    }
    // The first byte is never compared: the window's first byte may be anything.
    patterns.push_back({r->signature.get() + 1, r->signatureLength - 1, rank});
  }

  // Of signatures alike but for their first byte only the first can be the answer.
  std::sort(patterns.begin(), patterns.end(), ByBytes);
  patterns.erase(std::unique(patterns.begin(), patterns.end(), SameBytes), patterns.end());

  std::vector<IndexedPattern> shorter, longer;
  for (const IndexedPattern& p : patterns)
    (p.length < LongPatternSet::kMinLength ? shorter : longer).push_back(p);
  patterns = {};
  index->short_.Build(std::move(shorter));
  index->long_.Build(std::move(longer));
  return index;
}

const VirusRecord* SignatureIndex::Find(const uint8_t* buffer, uint32_t length) const {
  if (length == 0 || buffer == nullptr) return nullptr;
  uint32_t best = anyByteRank_;
  // Window start w matches when the signature's bytes 1.. occur at w + 1 and
  // the window lies inside the object: a search for the shortened patterns
  // in the object without its first byte.
  const uint8_t* text = buffer + 1;
  const size_t textLength = length - 1;
  // The sampled part first: it is fast, and a hit there spares the short
  // patterns ranked after it.
  long_.Scan(text, textLength, best);
  short_.Scan(text, textLength, best);
  return best == kNoRank ? nullptr : records_[best];
}

size_t SignatureIndex::MemoryBytes() const {
  return sizeof(*this) + records_.capacity() * sizeof(const VirusRecord*) + short_.MemoryBytes() +
         long_.MemoryBytes();
}

uint32_t BuildIndex(VirusBase& base) {
  if (base.engine != MatchEngine::kIndex) {
    base.index.reset();
    return 0;
  }
  if (base.index != nullptr && base.index->head() == base.head) return 0;
  base.index.reset();  // the old one goes first: the two are never held at once
  try {
    base.index = SignatureIndex::Build(base.head);
  } catch (const std::bad_alloc&) {
    return platform::ERROR_NOT_ENOUGH_MEMORY;
  }
  return 0;
}

}  // namespace scanner
