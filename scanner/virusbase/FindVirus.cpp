// The list walk over the records, one signature at a time, or the index in one pass.
#include "scanner/virusbase/FindVirus.h"

#include "scanner/virusbase/SearchPattern.h"
#include "scanner/virusbase/SignatureIndex.h"

namespace scanner {

const VirusRecord* FindVirus(const VirusBase& base, const uint8_t* buffer, uint32_t length) {
  if (base.engine == MatchEngine::kIndex && base.index != nullptr &&
      base.index->head() == base.head)
    return base.index->Find(buffer, length);
  return FindVirusByReference(base, buffer, length);
}

const VirusRecord* FindVirusByReference(const VirusBase& base, const uint8_t* buffer,
                                        uint32_t length) {
  for (const VirusRecord* r = base.head; r != nullptr; r = r->next) {
    if (SearchPattern(buffer, length, r->signature.get(), r->signatureLength) != nullptr) return r;
  }
  return nullptr;
}

}  // namespace scanner
