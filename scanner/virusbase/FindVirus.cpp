// List walk over the records, one signature at a time.
#include "scanner/virusbase/FindVirus.h"

#include "scanner/virusbase/SearchPattern.h"

namespace scanner {

const VirusRecord* FindVirus(const VirusBase& base, const uint8_t* buffer, uint32_t length) {
  for (const VirusRecord* r = base.head; r != nullptr; r = r->next) {
    if (SearchPattern(buffer, length, r->signature.get(), r->signatureLength) != nullptr) return r;
  }
  return nullptr;
}

}  // namespace scanner
