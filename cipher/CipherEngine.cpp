// The engines on offer, and the one choice per process between them.
#include "cipher/CipherEngine.h"

#include <cstdlib>

namespace cipher {
namespace {

// The four combinations of the two accelerations; a processor may offer
// either without the other.
const CipherEngine& Combination(bool aes, bool avx2) {
  static const CipherEngine kEngines[2][2] = {
      {{&TableRijndaelKernels(), &ScalarRcKernels(), false, false},
       {&TableRijndaelKernels(), Avx2RcKernels(), false, true}},
      {{AesRijndaelKernels(), &ScalarRcKernels(), true, false},
       {AesRijndaelKernels(), Avx2RcKernels(), true, true}},
  };
  return kEngines[aes][avx2];
}

}  // namespace

const CipherEngine& PortableEngine() {
  return Combination(false, false);
}

const CipherEngine& SelectEngine(std::string_view setting, const CpuFeatures& cpu) {
  if (setting == "portable") return PortableEngine();
  // A build without the kernels for this processor has none to offer.
  const bool aes = cpu.aes && cpu.ssse3 && cpu.sse41 && AesRijndaelKernels() != nullptr;
  const bool avx2 = cpu.avx2 && Avx2RcKernels() != nullptr;
  return Combination(aes, avx2);
}

const CipherEngine& FastestEngine() {
  static const CipherEngine& engine = SelectEngine({}, DetectCpuFeatures());
  return engine;
}

const CipherEngine& ActiveEngine() {
  static const CipherEngine& engine = []() -> const CipherEngine& {
    const char* setting = std::getenv(kCipherEngineVariable);
    return SelectEngine(setting ? setting : "", DetectCpuFeatures());
  }();
  return engine;
}

}  // namespace cipher
