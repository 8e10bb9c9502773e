// What the x86 kernel files share: the vector types, unaligned access, and the
// function-level targets that keep the rest of the build at the baseline.
#pragma once

// Each kernel file compiles its body only for x86; elsewhere it contributes
// nothing and the portable kernels do all the work.
#if defined(__x86_64__) || defined(__i386__)
#define CIPHER_X86_KERNELS 1

#include <immintrin.h>

#include <cstdint>

// Kernels carry these on every function (helpers included, since the
// intrinsics only inline into functions compiled for their instructions);
// the caller checks the processor before it calls one.
#define CIPHER_TARGET_AES __attribute__((target("aes,ssse3,sse4.1")))
#define CIPHER_TARGET_AVX2 __attribute__((target("avx2")))

namespace cipher::x86 {

// Load128 / Store128: 16 bytes at any alignment.
CIPHER_TARGET_AES inline __m128i Load128(const void* p) {
  return _mm_loadu_si128(static_cast<const __m128i*>(p));
}
CIPHER_TARGET_AES inline void Store128(void* p, __m128i v) {
  _mm_storeu_si128(static_cast<__m128i*>(p), v);
}

// PrefixXor: each word XORed with every word below it (w0, w0^w1, w0^w1^w2,
// ...), the running sum that every Rijndael key group is built from.
CIPHER_TARGET_AES inline __m128i PrefixXor(__m128i w) {
  w = _mm_xor_si128(w, _mm_slli_si128(w, 4));
  return _mm_xor_si128(w, _mm_slli_si128(w, 8));
}

// SubWordOf: SubWord of word 3 of w, rotated first when `rotate` (RotWord),
// XORed with the round constant, in all four words. The last-round
// instruction does ShiftRows, SubBytes and the XOR; with the same word in
// every column ShiftRows moves nothing. (It is quicker than the key-assist
// instruction, which sits on the key schedule's one long dependency chain.)
CIPHER_TARGET_AES inline __m128i SubWordOf(__m128i w, bool rotate, uint32_t rcon) {
  const __m128i rotated =
      _mm_setr_epi8(13, 14, 15, 12, 13, 14, 15, 12, 13, 14, 15, 12, 13, 14, 15, 12);
  const __m128i plain =
      _mm_setr_epi8(12, 13, 14, 15, 12, 13, 14, 15, 12, 13, 14, 15, 12, 13, 14, 15);
  const __m128i spread = _mm_shuffle_epi8(w, rotate ? rotated : plain);
  return _mm_aesenclast_si128(spread, _mm_set1_epi32(static_cast<int>(rcon)));
}

// NextRcon: the round constant doubled in the field, as the key schedule
// advances it.
constexpr uint32_t NextRcon(uint32_t rcon) {
  return ((rcon << 1) ^ ((rcon & 0x80) ? 0x1B : 0)) & 0xFF;
}

}  // namespace cipher::x86

#endif
