// Rijndael-256 (256-bit block and key) with the processor's AES round instructions.
#include "cipher/RijndaelAes.h"
#include "cipher/RijndaelKey.h"
#include "cipher/X86Kernels.h"

#ifdef CIPHER_X86_KERNELS

namespace cipher::x86 {
namespace {

// The 256-bit state lives in two registers, columns 0-3 and columns 4-7. One
// Rijndael round is one AES round on each half, except that AES shifts row r
// by r columns within a half, while this block shifts rows by 1, 3 and 4
// columns across all eight. Moving the bytes beforehand (a blend that swaps
// some between the halves, then a shuffle within each half) makes AES's own
// shift land every byte where this block's shift puts it; SubBytes works on
// each byte alone, so it does not mind the earlier move.

constexpr int kRounds = Rijndael256::kNr;
constexpr size_t kBlock = 32;
constexpr size_t kLanes = 4;  // blocks in flight, two registers each

// Realign: the shuffle (per byte, the byte of its half it takes) and the
// blend (top bit set where the byte comes from the other half).
struct Realign {
  uint8_t shuffle[16];
  uint8_t blend[16];
};

// MakeRealign: for encryption (direction +1, before ShiftRows) or decryption
// (-1, before InvShiftRows). AES takes row r of its column d' from column
// d' + r (d' - r for the inverse) of its half; this block takes row r of
// column c from column c + offset(r) (c - offset(r)). The byte that AES will
// move into column d of half 0 is therefore the one this block wants there.
constexpr Realign MakeRealign(int direction) {
  Realign m{};
  for (int d = 0; d < 4; ++d) {
    for (int r = 0; r < 4; ++r) {
      const int column = (d - direction * r + 4) % 4;  // where AES puts it in half 0
      const int source = (column + direction * static_cast<int>(Rijndael256::kShift[r]) + 8) % 8;
      const int from = 4 * (source % 4) + r;
      m.shuffle[4 * d + r] = static_cast<uint8_t>(from);
      m.blend[from] = source >= 4 ? 0x80 : 0x00;
    }
  }
  return m;
}

constexpr Realign kBeforeShiftRows = MakeRealign(+1);
constexpr Realign kBeforeInvShiftRows = MakeRealign(-1);

// Masks: the realignment as registers, loaded once per call.
struct Masks {
  __m128i shuffle;
  __m128i blend;
};

CIPHER_TARGET_AES inline Masks LoadMasks(const Realign& m) {
  return {Load128(m.shuffle), Load128(m.blend)};
}

// Align: moves both halves' bytes so that the AES round's ShiftRows (or
// InvShiftRows) makes the 256-bit block's.
CIPHER_TARGET_AES inline void Align(__m128i& lo, __m128i& hi, const Masks& m) {
  const __m128i a = _mm_blendv_epi8(lo, hi, m.blend);
  const __m128i b = _mm_blendv_epi8(hi, lo, m.blend);
  lo = _mm_shuffle_epi8(a, m.shuffle);
  hi = _mm_shuffle_epi8(b, m.shuffle);
}

CIPHER_TARGET_AES inline __m128i KeyHalf(const uint32_t* rk, int round, int half) {
  return Load128(rk + 8 * round + 4 * half);
}

}  // namespace

CIPHER_TARGET_AES void Aes256Expand(const uint8_t* key, uint32_t* enc, uint32_t* dec) {
  constexpr int kQuads = 2 * (kRounds + 1);  // 120 words, four to a register
  __m128i w[kQuads];
  w[0] = Load128(key);
  w[1] = Load128(key + 16);
  // Groups of eight words: the first four from RotWord and SubWord of the
  // last word and the round constant, the next four from SubWord alone of
  // the fourth. Fourteen groups, so the constant runs on past 0x36.
  uint32_t rcon = 1;
  for (int q = 2; q < kQuads; q += 2) {
    w[q] = _mm_xor_si128(PrefixXor(w[q - 2]), SubWordOf(w[q - 1], true, rcon));
    w[q + 1] = _mm_xor_si128(PrefixXor(w[q - 1]), SubWordOf(w[q], false, 0));
    rcon = NextRcon(rcon);
  }
  for (int q = 0; q < kQuads; ++q) {
    Store128(enc + 4 * q, w[q]);
    const bool inner = q >= 2 && q < 2 * kRounds;
    Store128(dec + 4 * q, inner ? _mm_aesimc_si128(w[q]) : w[q]);
  }
}

CIPHER_TARGET_AES void Aes256Encrypt(const uint8_t* in, uint8_t* out, size_t blocks,
                                     const uint32_t* rk) {
  const Masks m = LoadMasks(kBeforeShiftRows);
  size_t n = 0;
  for (; n < blocks; n += kLanes) {
    // The last group may be short: its missing lanes just repeat the last block.
    const size_t lanes = blocks - n < kLanes ? blocks - n : kLanes;
    __m128i lo[kLanes], hi[kLanes];
#pragma GCC unroll 4
    for (size_t x = 0; x < kLanes; ++x) {
      const uint8_t* p = in + kBlock * (n + (x < lanes ? x : lanes - 1));
      lo[x] = _mm_xor_si128(Load128(p), KeyHalf(rk, 0, 0));
      hi[x] = _mm_xor_si128(Load128(p + 16), KeyHalf(rk, 0, 1));
    }
    for (int r = 1; r < kRounds; ++r) {
      const __m128i k0 = KeyHalf(rk, r, 0), k1 = KeyHalf(rk, r, 1);
#pragma GCC unroll 4
      for (size_t x = 0; x < kLanes; ++x) {
        Align(lo[x], hi[x], m);
        lo[x] = _mm_aesenc_si128(lo[x], k0);
        hi[x] = _mm_aesenc_si128(hi[x], k1);
      }
    }
    const __m128i k0 = KeyHalf(rk, kRounds, 0), k1 = KeyHalf(rk, kRounds, 1);
#pragma GCC unroll 4
    for (size_t x = 0; x < kLanes; ++x) {
      Align(lo[x], hi[x], m);
      lo[x] = _mm_aesenclast_si128(lo[x], k0);
      hi[x] = _mm_aesenclast_si128(hi[x], k1);
    }
    for (size_t x = 0; x < lanes; ++x) {
      Store128(out + kBlock * (n + x), lo[x]);
      Store128(out + kBlock * (n + x) + 16, hi[x]);
    }
  }
}

CIPHER_TARGET_AES void Aes256Decrypt(const uint8_t* in, uint8_t* out, size_t blocks,
                                     const uint32_t* rk) {
  const Masks m = LoadMasks(kBeforeInvShiftRows);
  size_t n = 0;
  for (; n < blocks; n += kLanes) {
    const size_t lanes = blocks - n < kLanes ? blocks - n : kLanes;
    __m128i lo[kLanes], hi[kLanes];
#pragma GCC unroll 4
    for (size_t x = 0; x < kLanes; ++x) {
      const uint8_t* p = in + kBlock * (n + (x < lanes ? x : lanes - 1));
      lo[x] = _mm_xor_si128(Load128(p), KeyHalf(rk, kRounds, 0));
      hi[x] = _mm_xor_si128(Load128(p + 16), KeyHalf(rk, kRounds, 1));
    }
    for (int r = kRounds - 1; r >= 1; --r) {
      const __m128i k0 = KeyHalf(rk, r, 0), k1 = KeyHalf(rk, r, 1);
#pragma GCC unroll 4
      for (size_t x = 0; x < kLanes; ++x) {
        Align(lo[x], hi[x], m);
        lo[x] = _mm_aesdec_si128(lo[x], k0);
        hi[x] = _mm_aesdec_si128(hi[x], k1);
      }
    }
    const __m128i k0 = KeyHalf(rk, 0, 0), k1 = KeyHalf(rk, 0, 1);
#pragma GCC unroll 4
    for (size_t x = 0; x < kLanes; ++x) {
      Align(lo[x], hi[x], m);
      lo[x] = _mm_aesdeclast_si128(lo[x], k0);
      hi[x] = _mm_aesdeclast_si128(hi[x], k1);
    }
    for (size_t x = 0; x < lanes; ++x) {
      Store128(out + kBlock * (n + x), lo[x]);
      Store128(out + kBlock * (n + x) + 16, hi[x]);
    }
  }
}

}  // namespace cipher::x86

#endif
