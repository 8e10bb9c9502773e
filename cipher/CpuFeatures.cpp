// Processor feature detection through the CPUID instruction (x86 only).
#include "cipher/CpuFeatures.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>

#include <cstdint>
#endif

namespace cipher {

#if defined(__x86_64__) || defined(__i386__)

namespace {

// SavedRegisterState: the XCR0 register, which says which register files the
// system saves across task switches; AVX is usable only when it saves the
// SSE and AVX state (bits 1 and 2).
uint64_t SavedRegisterState() {
  uint32_t low = 0, high = 0;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return uint64_t{high} << 32 | low;
}

}  // namespace

CpuFeatures DetectCpuFeatures() {
  CpuFeatures f;
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) return f;
  f.ssse3 = (ecx & bit_SSSE3) != 0;
  f.sse41 = (ecx & bit_SSE4_1) != 0;
  f.aes = (ecx & bit_AES) != 0;
  const bool osSavesAvx =
      (ecx & bit_OSXSAVE) != 0 && (ecx & bit_AVX) != 0 && (SavedRegisterState() & 0x6) == 0x6;
  if (osSavesAvx && __get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) != 0)
    f.avx2 = (ebx & bit_AVX2) != 0;
  return f;
}

#else

CpuFeatures DetectCpuFeatures() {
  return {};
}

#endif

}  // namespace cipher
