// RC4 key scheduling and keystream.
#include "cipher/Rc4.h"

#include <cstring>
#include <utility>

namespace cipher {

int Rc4CreateKey(const uint8_t* key, uint32_t length, uint8_t* keyObject) {
  // The schedule takes the key index modulo the length; an empty key has no
  // schedule at all, so the object is left as it was.
  if (length == 0) return 0;
  auto* k = reinterpret_cast<Rc4Key*>(keyObject);
  for (unsigned n = 0; n < 256; ++n) k->s[n] = static_cast<uint8_t>(n);
  uint8_t j = 0;
  uint8_t n = 0;  // the key index lives in 8 bits: bytes past the 256th never count
  for (unsigned x = 0; x < 256; ++x) {
    j = static_cast<uint8_t>(j + k->s[x] + key[n]);
    std::swap(k->s[x], k->s[j]);
    n = static_cast<uint8_t>((n + 1u) % length);
  }
  k->i = 0;
  k->j = 0;
  return static_cast<int>(sizeof(Rc4Key));
}

int Rc4Crypt(uint8_t* data, uint32_t length, uint8_t* keyObject) {
  auto* k = reinterpret_cast<Rc4Key*>(keyObject);
  // The permutation is worked on as a local copy of 32-bit entries: a local
  // array cannot alias data, so the compiler keeps the indices in registers,
  // and whole-word entries avoid the partial-register merges of byte ones.
  // The copy in and out costs a few hundred operations per call, next to the
  // several cycles each byte of keystream costs.
  uint32_t s[256];
  for (unsigned n = 0; n < 256; ++n) s[n] = k->s[n];
  uint32_t i = k->i;
  // Only j's low byte counts, so it is masked where it indexes and never on
  // the chain from one byte's j to the next: that chain is a single add.
  uint32_t jSum = k->j;
  // s[i + 1] is read before this byte's swap stores, so the read never waits
  // on them; the swap changes it only when j lands on i + 1 (one byte in 256),
  // and then it holds si. A branch rather than a select keeps the comparison
  // off the chain.
  uint32_t si = s[(i + 1) & 255];
  auto next = [&s, &i, &jSum, &si]() -> uint8_t {
    i = (i + 1) & 255;
    jSum += si;
    const uint32_t j = jSum & 255;
    const uint32_t sj = s[j];
    const uint32_t iNext = (i + 1) & 255;
    uint32_t siNext = s[iNext];
    s[i] = sj;
    s[j] = si;
    if (iNext == j) [[unlikely]] {
      __asm__ __volatile__("");  // an opaque step the compiler cannot hoist
      siNext = si;
    }
    const auto out = static_cast<uint8_t>(s[(si + sj) & 255]);
    si = siNext;
    return out;
  };
  uint32_t x = 0;
  for (; length - x >= 8; x += 8) {
#pragma GCC unroll 8
    for (unsigned b = 0; b < 8; ++b) data[x + b] ^= next();
  }
  for (; x < length; ++x) data[x] ^= next();
  for (unsigned n = 0; n < 256; ++n) k->s[n] = static_cast<uint8_t>(s[n]);
  // The permutation is the key in another form: leave no copy on the stack.
  // (The empty statement that claims to read the array keeps the compiler
  // from dropping the clearing as a dead store.)
  std::memset(s, 0, sizeof s);
  __asm__ __volatile__("" : : "r"(s) : "memory");
  k->i = static_cast<uint8_t>(i);
  k->j = static_cast<uint8_t>(jSum);
  return static_cast<int>(length);
}

}  // namespace cipher
