// Fuzz target: the loader and matcher over arbitrary content that carries a valid signature.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "scanner/virusbase/FindVirus.h"
#include "scanner/virusbase/LoadBase.h"
#include "scanner/virusbase/SignatureTrailer.h"
#include "tools/zepbase/Signer.h"

namespace {

zepbase::Signer& TestSigner() {
  static zepbase::Signer* signer = [] {
    std::ifstream in(ZEPBASE_DEMO_KEY);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    zepbase::PrivateKey key;
    if (!zepbase::ParsePrivateKey(text, key).empty()) std::abort();
    auto* s = new zepbase::Signer(key);
    s->UseFixedNonce(zepbase::FromSmall(0x5EED));  // one exponentiation for the whole run
    return s;
  }();
  return *signer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> file = TestSigner().Sign(std::span<const uint8_t>(data, size));
  scanner::VirusBase base;
  const int result = scanner::LoadBase(base, file);
  // Without a block prefix in non-empty content the trailer search cannot be misled,
  // so a file signed here must always pass the check.
  const uint8_t* end = data + size;
  if (result == scanner::kLoadBadSignature && size > 0 &&
      std::search(data, end, scanner::kBlockPrefix, scanner::kBlockPrefix + 4) == end)
    std::abort();
  scanner::FindVirus(base, data, static_cast<uint32_t>(size));
  return 0;
}
