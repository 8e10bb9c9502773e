// Fuzz target: the signature index against the reference search on random bases and objects.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "scanner/virusbase/FindVirus.h"
#include "scanner/virusbase/SignatureIndex.h"

namespace {

// Reader: takes the input apart; past its end every read gives 0.
class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  size_t left() const { return size_ - at_; }
  const uint8_t* Take(size_t n) {
    const uint8_t* p = data_ + at_;
    at_ += n;
    return p;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

void Add(scanner::VirusBase& base, std::vector<uint8_t> signature, bool noChunk) {
  auto r = std::make_unique<scanner::VirusRecord>();
  if (!noChunk) {
    r->signatureLength = static_cast<uint32_t>(signature.size());
    r->signature = std::make_unique<uint8_t[]>(signature.size());
    std::copy(signature.begin(), signature.end(), r->signature.get());
  }
  base.PushFront(std::move(r));
}

}  // namespace

// Input: a count byte, then per signature a control byte (low 6 bits the
// length, 0x40 copy an earlier one, 0x80 and a copy: change its first byte)
// and its bytes; the rest is the object. The object may end with copies of
// signatures, so that long ones occur too.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in(data, size);
  scanner::VirusBase base;
  base.engine = scanner::MatchEngine::kIndex;
  std::vector<std::vector<uint8_t>> signatures;
  const size_t count = in.Byte() % 48;
  for (size_t i = 0; i < count && in.left() > 0; ++i) {
    const uint8_t control = in.Byte();
    std::vector<uint8_t> s;
    if ((control & 0x40) && !signatures.empty()) {
      s = signatures[in.Byte() % signatures.size()];
      if ((control & 0x80) && !s.empty()) s[0] = in.Byte();
    } else {
      const size_t length = std::min<size_t>(control & 0x3F, in.left());
      const uint8_t* bytes = in.Take(length);
      s.assign(bytes, bytes + length);
    }
    Add(base, s, control == 0x3F);
    signatures.push_back(std::move(s));
  }
  const size_t planted = in.left() > 0 ? in.Byte() % 4 : 0;
  std::vector<uint8_t> object(in.Take(in.left()), data + size);
  for (size_t i = 0; i < planted && !signatures.empty(); ++i) {
    const std::vector<uint8_t>& s = signatures[object.size() % signatures.size()];
    object.insert(object.end(), s.begin(), s.end());
  }

  const auto length = static_cast<uint32_t>(object.size());
  const scanner::VirusRecord* reference = FindVirusByReference(base, object.data(), length);
  if (scanner::BuildIndex(base) != 0) std::abort();
  if (scanner::FindVirus(base, object.data(), length) != reference) std::abort();
  return 0;
}
