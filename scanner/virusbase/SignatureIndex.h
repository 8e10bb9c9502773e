// An index over all signatures of a base that answers as the SearchPattern list walk does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "scanner/virusbase/LongPatternSet.h"
#include "scanner/virusbase/ShortPatternSet.h"
#include "scanner/virusbase/VirusBase.h"

namespace scanner {

// SignatureIndex: built once over a record list, then read-only. Find gives
// the record the per-signature search would give: the first record in list
// order whose signature, its first byte not compared, occurs in the object;
// a one-byte signature matches any non-empty object, an empty one nothing.
// The object is read once for the short signatures (when there are any) and
// sampled once for the rest, instead of being searched once per signature.
// Find allocates nothing and keeps no state, so several threads may use one
// index at once.
class SignatureIndex {
 public:
  // Build: the index over the list that starts at head. The records must
  // outlive the index and stay unchanged. Throws std::bad_alloc.
  static std::unique_ptr<SignatureIndex> Build(const VirusRecord* head);

  // Find: the first matching record in list order, or nullptr.
  const VirusRecord* Find(const uint8_t* buffer, uint32_t length) const;

  // head: the list head the index was built for.
  const VirusRecord* head() const { return head_; }
  // MemoryBytes: the heap the index holds (the signatures stay the records').
  size_t MemoryBytes() const;

 private:
  const VirusRecord* head_ = nullptr;
  std::vector<const VirusRecord*> records_;  // by rank: list order
  uint32_t anyByteRank_ = kNoRank;           // the first one-byte signature
  ShortPatternSet short_;                    // 1 to 6 bytes compared
  LongPatternSet long_;                      // 7 and more
};

// BuildIndex: makes base.index the index over the list as it stands when
// base.engine is MatchEngine::kIndex (kept when it already is), drops it
// otherwise. Returns 0, or ERROR_NOT_ENOUGH_MEMORY with the index dropped, so
// that FindVirus answers by the reference search.
uint32_t BuildIndex(VirusBase& base);

}  // namespace scanner
