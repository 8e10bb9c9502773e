// Test support: a base made from signatures given in list order, without a file.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scanner/virusbase/SignatureIndex.h"
#include "scanner/virusbase/VirusBase.h"

namespace scanner::testing {

// ListBase: fills base so that its list holds one record per signature in
// the order given (the first is the head); nullopt stands for a record
// without a signature chunk. Returns the records in that order. The index is
// not built.
inline std::vector<const VirusRecord*> ListBase(
    VirusBase& base, const std::vector<std::optional<std::string>>& signatures) {
  std::vector<const VirusRecord*> records(signatures.size());
  for (size_t i = signatures.size(); i-- > 0;) {
    auto r = std::make_unique<VirusRecord>();
    r->name[0] = static_cast<char16_t>(u'A' + i % 26);
    if (signatures[i]) {
      const std::string& s = *signatures[i];
      r->signatureLength = static_cast<uint32_t>(s.size());
      r->signature = std::make_unique<uint8_t[]>(s.size());
      std::copy(s.begin(), s.end(), r->signature.get());
    }
    records[i] = r.get();
    base.PushFront(std::move(r));
  }
  return records;
}

inline const uint8_t* Bytes(std::string_view s) {
  return reinterpret_cast<const uint8_t*>(s.data());
}

}  // namespace scanner::testing
