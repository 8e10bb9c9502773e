// The processor's instruction-set extensions that the cipher kernels can use.
#pragma once

namespace cipher {

// CpuFeatures: what the processor running this process offers (and the
// system has enabled). Everything is false on processors for which the library
// has no accelerated kernels.
struct CpuFeatures {
  bool aes = false;    // the AES round and key-assist instructions
  bool ssse3 = false;  // byte shuffles
  bool sse41 = false;  // byte blends
  bool avx2 = false;   // 256-bit integer vectors, with the register state saved by the system
};

// DetectCpuFeatures: asks the processor; cheap enough to call once, too slow
// (a trap under virtual machines) to call per sector.
CpuFeatures DetectCpuFeatures();

}  // namespace cipher
