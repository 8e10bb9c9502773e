// RC5 and RC6 on eight blocks per 256-bit vector, one word of every block per register.
#include "cipher/Rc5.h"
#include "cipher/Rc6.h"
#include "cipher/RcKernels.h"
#include "cipher/X86Kernels.h"

#ifdef CIPHER_X86_KERNELS

namespace cipher {
namespace x86 {
namespace {

// Each round of either cipher depends on the one before, and its rotations
// and (for RC6) multiplications take several cycles; two groups of eight
// blocks in flight keep the vector units busy meanwhile.
constexpr size_t kLanes = 8;

CIPHER_TARGET_AVX2 inline __m256i Load256(const uint8_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
CIPHER_TARGET_AVX2 inline void Store256(uint8_t* p, __m256i v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}
CIPHER_TARGET_AVX2 inline __m256i Splat(uint32_t w) {
  return _mm256_set1_epi32(static_cast<int>(w));
}
CIPHER_TARGET_AVX2 inline __m256i Add(__m256i x, __m256i y) {
  return _mm256_add_epi32(x, y);
}
CIPHER_TARGET_AVX2 inline __m256i Sub(__m256i x, __m256i y) {
  return _mm256_sub_epi32(x, y);
}
CIPHER_TARGET_AVX2 inline __m256i Xor(__m256i x, __m256i y) {
  return _mm256_xor_si256(x, y);
}

// RotL / RotR: each lane rotated by the low five bits of its lane of n. A
// count of 0 shifts the other way by 32, which gives 0, so the result is x.
CIPHER_TARGET_AVX2 inline __m256i RotL(__m256i x, __m256i n) {
  const __m256i k = _mm256_and_si256(n, Splat(31));
  return _mm256_or_si256(_mm256_sllv_epi32(x, k), _mm256_srlv_epi32(x, Sub(Splat(32), k)));
}
CIPHER_TARGET_AVX2 inline __m256i RotR(__m256i x, __m256i n) {
  const __m256i k = _mm256_and_si256(n, Splat(31));
  return _mm256_or_si256(_mm256_srlv_epi32(x, k), _mm256_sllv_epi32(x, Sub(Splat(32), k)));
}

// Rc5Words: eight RC5 blocks (A0 B0 A1 B1 ...) as a register of A words and
// one of B words, and back.
CIPHER_TARGET_AVX2 inline void LoadRc5(const uint8_t* p, __m256i& a, __m256i& b) {
  const __m256i evenFirst = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
  const __m256i t0 = _mm256_permutevar8x32_epi32(Load256(p), evenFirst);
  const __m256i t1 = _mm256_permutevar8x32_epi32(Load256(p + 32), evenFirst);
  a = _mm256_permute2x128_si256(t0, t1, 0x20);
  b = _mm256_permute2x128_si256(t0, t1, 0x31);
}
CIPHER_TARGET_AVX2 inline void StoreRc5(uint8_t* p, __m256i a, __m256i b) {
  const __m256i interleave = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
  Store256(p, _mm256_permutevar8x32_epi32(_mm256_permute2x128_si256(a, b, 0x20), interleave));
  Store256(p + 32, _mm256_permutevar8x32_epi32(_mm256_permute2x128_si256(a, b, 0x31), interleave));
}

// Transpose: eight RC6 blocks (two per register) to one register per word
// and back; transposing the 4x4 words of each 128-bit half is its own
// inverse, so the same steps serve both ways.
CIPHER_TARGET_AVX2 inline void Transpose(__m256i& w0, __m256i& w1, __m256i& w2, __m256i& w3) {
  const __m256i t0 = _mm256_unpacklo_epi32(w0, w1), t1 = _mm256_unpackhi_epi32(w0, w1);
  const __m256i t2 = _mm256_unpacklo_epi32(w2, w3), t3 = _mm256_unpackhi_epi32(w2, w3);
  w0 = _mm256_unpacklo_epi64(t0, t2);
  w1 = _mm256_unpackhi_epi64(t0, t2);
  w2 = _mm256_unpacklo_epi64(t1, t3);
  w3 = _mm256_unpackhi_epi64(t1, t3);
}

// Rc6Mix: (x * (2x + 1)) <<< 5, RC6's quadratic.
CIPHER_TARGET_AVX2 inline __m256i Rc6Mix(__m256i x) {
  const __m256i f = _mm256_mullo_epi32(x, Add(Add(x, x), Splat(1)));
  return _mm256_or_si256(_mm256_slli_epi32(f, 5), _mm256_srli_epi32(f, 27));
}

template <int G>
CIPHER_TARGET_AVX2 void Rc5EncryptGroups(uint8_t* p, const uint32_t* s) {
  __m256i a[G], b[G];
  for (int g = 0; g < G; ++g) {
    LoadRc5(p + 64 * g, a[g], b[g]);
    a[g] = Add(a[g], Splat(s[0]));
    b[g] = Add(b[g], Splat(s[1]));
  }
  for (int r = 1; r <= kRc5Rounds; ++r) {
    const __m256i k0 = Splat(s[2 * r]), k1 = Splat(s[2 * r + 1]);
    for (int g = 0; g < G; ++g) {
      a[g] = Add(RotL(Xor(a[g], b[g]), b[g]), k0);
      b[g] = Add(RotL(Xor(b[g], a[g]), a[g]), k1);
    }
  }
  for (int g = 0; g < G; ++g) StoreRc5(p + 64 * g, a[g], b[g]);
}

template <int G>
CIPHER_TARGET_AVX2 void Rc5DecryptGroups(uint8_t* p, const uint32_t* s) {
  __m256i a[G], b[G];
  for (int g = 0; g < G; ++g) LoadRc5(p + 64 * g, a[g], b[g]);
  for (int r = kRc5Rounds; r >= 1; --r) {
    const __m256i k0 = Splat(s[2 * r]), k1 = Splat(s[2 * r + 1]);
    for (int g = 0; g < G; ++g) {
      b[g] = Xor(RotR(Sub(b[g], k1), a[g]), a[g]);
      a[g] = Xor(RotR(Sub(a[g], k0), b[g]), b[g]);
    }
  }
  for (int g = 0; g < G; ++g) StoreRc5(p + 64 * g, Sub(a[g], Splat(s[0])), Sub(b[g], Splat(s[1])));
}

template <int G>
CIPHER_TARGET_AVX2 void Rc6EncryptGroups(uint8_t* p, const uint32_t* s) {
  __m256i a[G], b[G], c[G], d[G];
  for (int g = 0; g < G; ++g) {
    uint8_t* q = p + 128 * g;
    a[g] = Load256(q), b[g] = Load256(q + 32), c[g] = Load256(q + 64), d[g] = Load256(q + 96);
    Transpose(a[g], b[g], c[g], d[g]);
    b[g] = Add(b[g], Splat(s[0]));
    d[g] = Add(d[g], Splat(s[1]));
  }
  for (int r = 1; r <= kRc6Rounds; ++r) {
    const __m256i k0 = Splat(s[2 * r]), k1 = Splat(s[2 * r + 1]);
    for (int g = 0; g < G; ++g) {
      const __m256i t = Rc6Mix(b[g]), u = Rc6Mix(d[g]);
      const __m256i first = Add(RotL(Xor(a[g], t), u), k0);
      a[g] = b[g];
      b[g] = Add(RotL(Xor(c[g], u), t), k1);
      c[g] = d[g];
      d[g] = first;
    }
  }
  for (int g = 0; g < G; ++g) {
    a[g] = Add(a[g], Splat(s[2 * kRc6Rounds + 2]));
    c[g] = Add(c[g], Splat(s[2 * kRc6Rounds + 3]));
    Transpose(a[g], b[g], c[g], d[g]);
    uint8_t* q = p + 128 * g;
    Store256(q, a[g]), Store256(q + 32, b[g]), Store256(q + 64, c[g]), Store256(q + 96, d[g]);
  }
}

template <int G>
CIPHER_TARGET_AVX2 void Rc6DecryptGroups(uint8_t* p, const uint32_t* s) {
  __m256i a[G], b[G], c[G], d[G];
  for (int g = 0; g < G; ++g) {
    uint8_t* q = p + 128 * g;
    a[g] = Load256(q), b[g] = Load256(q + 32), c[g] = Load256(q + 64), d[g] = Load256(q + 96);
    Transpose(a[g], b[g], c[g], d[g]);
    c[g] = Sub(c[g], Splat(s[2 * kRc6Rounds + 3]));
    a[g] = Sub(a[g], Splat(s[2 * kRc6Rounds + 2]));
  }
  for (int r = kRc6Rounds; r >= 1; --r) {
    const __m256i k0 = Splat(s[2 * r]), k1 = Splat(s[2 * r + 1]);
    for (int g = 0; g < G; ++g) {
      // Undo the rotation of the four words first, then the round.
      const __m256i last = d[g];
      d[g] = c[g];
      c[g] = b[g];
      b[g] = a[g];
      a[g] = last;
      const __m256i u = Rc6Mix(d[g]), t = Rc6Mix(b[g]);
      c[g] = Xor(RotR(Sub(c[g], k1), t), u);
      a[g] = Xor(RotR(Sub(a[g], k0), u), t);
    }
  }
  for (int g = 0; g < G; ++g) {
    d[g] = Sub(d[g], Splat(s[1]));
    b[g] = Sub(b[g], Splat(s[0]));
    Transpose(a[g], b[g], c[g], d[g]);
    uint8_t* q = p + 128 * g;
    Store256(q, a[g]), Store256(q + 32, b[g]), Store256(q + 64, c[g]), Store256(q + 96, d[g]);
  }
}

// Run: two groups at a time, then one, then what is left one block at a time.
template <void (*Two)(uint8_t*, const uint32_t*), void (*One)(uint8_t*, const uint32_t*),
          void (*Rest)(uint8_t*, size_t, const uint32_t*), size_t BlockBytes>
CIPHER_TARGET_AVX2 void Run(uint8_t* data, size_t blocks, const uint32_t* s) {
  size_t n = 0;
  for (; n + 2 * kLanes <= blocks; n += 2 * kLanes) Two(data + BlockBytes * n, s);
  for (; n + kLanes <= blocks; n += kLanes) One(data + BlockBytes * n, s);
  Rest(data + BlockBytes * n, blocks - n, s);
}

constexpr RcKernels kKernels{
    Run<Rc5EncryptGroups<2>, Rc5EncryptGroups<1>, Rc5EncryptBlocks, kRc5BlockBytes>,
    Run<Rc5DecryptGroups<2>, Rc5DecryptGroups<1>, Rc5DecryptBlocks, kRc5BlockBytes>,
    Run<Rc6EncryptGroups<2>, Rc6EncryptGroups<1>, Rc6EncryptBlocks, kRc6BlockBytes>,
    Run<Rc6DecryptGroups<2>, Rc6DecryptGroups<1>, Rc6DecryptBlocks, kRc6BlockBytes>,
};

}  // namespace
}  // namespace x86

const RcKernels* Avx2RcKernels() {
  return &x86::kKernels;
}

}  // namespace cipher

#else

namespace cipher {

const RcKernels* Avx2RcKernels() {
  return nullptr;
}

}  // namespace cipher

#endif
