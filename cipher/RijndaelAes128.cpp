// Rijndael-128 (AES-128) with the processor's AES round instructions.
#include "cipher/RijndaelAes.h"
#include "cipher/X86Kernels.h"

#ifdef CIPHER_X86_KERNELS

namespace cipher::x86 {
namespace {

constexpr int kRounds = 10;
constexpr size_t kBlock = 16;
// Blocks in flight at once: the round instruction's latency is several cycles
// but a new one can start every cycle, so independent blocks fill the gap.
constexpr size_t kLanes = 8;

CIPHER_TARGET_AES inline const __m128i* RoundKey(const uint32_t* rk, int round) {
  return reinterpret_cast<const __m128i*>(rk + 4 * round);
}

}  // namespace

CIPHER_TARGET_AES void Aes128Expand(const uint8_t* key, uint32_t* enc, uint32_t* dec) {
  __m128i k = Load128(key);
  uint32_t rcon = 1;
  for (int r = 0; r <= kRounds; ++r) {
    if (r > 0) {
      k = _mm_xor_si128(PrefixXor(k), SubWordOf(k, true, rcon));
      rcon = NextRcon(rcon);
    }
    Store128(enc + 4 * r, k);
    // The equivalent inverse cipher: InvMixColumns on the inner round keys.
    Store128(dec + 4 * r, r == 0 || r == kRounds ? k : _mm_aesimc_si128(k));
  }
}

CIPHER_TARGET_AES void Aes128Encrypt(const uint8_t* in, uint8_t* out, size_t blocks,
                                     const uint32_t* rk) {
  const __m128i first = Load128(RoundKey(rk, 0));
  const __m128i last = Load128(RoundKey(rk, kRounds));
  size_t n = 0;
  for (; n + kLanes <= blocks; n += kLanes) {
    __m128i b[kLanes];
#pragma GCC unroll 8
    for (size_t x = 0; x < kLanes; ++x) b[x] = _mm_xor_si128(Load128(in + kBlock * (n + x)), first);
#pragma GCC unroll 9
    for (int r = 1; r < kRounds; ++r) {
      const __m128i k = Load128(RoundKey(rk, r));
#pragma GCC unroll 8
      for (size_t x = 0; x < kLanes; ++x) b[x] = _mm_aesenc_si128(b[x], k);
    }
#pragma GCC unroll 8
    for (size_t x = 0; x < kLanes; ++x)
      Store128(out + kBlock * (n + x), _mm_aesenclast_si128(b[x], last));
  }
  for (; n < blocks; ++n) {
    __m128i b = _mm_xor_si128(Load128(in + kBlock * n), first);
#pragma GCC unroll 9
    for (int r = 1; r < kRounds; ++r) b = _mm_aesenc_si128(b, Load128(RoundKey(rk, r)));
    Store128(out + kBlock * n, _mm_aesenclast_si128(b, last));
  }
}

// Aes128Decrypt: the decryption round keys are used from the last to the
// first, as the equivalent inverse cipher takes them.
CIPHER_TARGET_AES void Aes128Decrypt(const uint8_t* in, uint8_t* out, size_t blocks,
                                     const uint32_t* rk) {
  const __m128i first = Load128(RoundKey(rk, kRounds));
  const __m128i last = Load128(RoundKey(rk, 0));
  size_t n = 0;
  for (; n + kLanes <= blocks; n += kLanes) {
    __m128i b[kLanes];
#pragma GCC unroll 8
    for (size_t x = 0; x < kLanes; ++x) b[x] = _mm_xor_si128(Load128(in + kBlock * (n + x)), first);
#pragma GCC unroll 9
    for (int r = kRounds - 1; r >= 1; --r) {
      const __m128i k = Load128(RoundKey(rk, r));
#pragma GCC unroll 8
      for (size_t x = 0; x < kLanes; ++x) b[x] = _mm_aesdec_si128(b[x], k);
    }
#pragma GCC unroll 8
    for (size_t x = 0; x < kLanes; ++x)
      Store128(out + kBlock * (n + x), _mm_aesdeclast_si128(b[x], last));
  }
  for (; n < blocks; ++n) {
    __m128i b = _mm_xor_si128(Load128(in + kBlock * n), first);
#pragma GCC unroll 9
    for (int r = kRounds - 1; r >= 1; --r) b = _mm_aesdec_si128(b, Load128(RoundKey(rk, r)));
    Store128(out + kBlock * n, _mm_aesdeclast_si128(b, last));
  }
}

}  // namespace cipher::x86

#endif
