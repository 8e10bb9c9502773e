// RC4 key scheduling and keystream.
#include "cipher/Rc4.h"

#include <bit>
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
  // 8-bit indices wrap by themselves, with no masking on the chain from one
  // byte's j to the next.
  uint8_t i = k->i;
  uint8_t j = k->j;
  auto next = [&s, &i, &j]() -> uint64_t {
    ++i;
    const uint32_t si = s[i];
    j = static_cast<uint8_t>(j + si);
    const uint32_t sj = s[j];
    s[i] = sj;
    s[j] = si;
    return s[static_cast<uint8_t>(si + sj)];
  };
  uint32_t x = 0;
  // Eight keystream bytes at a time into one word, in the data's memory
  // order, then one XOR of the data.
  constexpr bool little = std::endian::native == std::endian::little;
  for (; length - x >= 8; x += 8) {
    uint64_t stream = 0;
    for (int b = 0; b < 8; ++b) stream |= next() << (little ? 8 * b : 56 - 8 * b);
    uint64_t word;
    std::memcpy(&word, data + x, 8);
    word ^= stream;
    std::memcpy(data + x, &word, 8);
  }
  for (; x < length; ++x) data[x] ^= static_cast<uint8_t>(next());
  for (unsigned n = 0; n < 256; ++n) k->s[n] = static_cast<uint8_t>(s[n]);
  // The permutation is the key in another form: leave no copy on the stack.
  // (The empty statement that claims to read the array keeps the compiler
  // from dropping the clearing as a dead store.)
  std::memset(s, 0, sizeof s);
  __asm__ __volatile__("" : : "r"(s) : "memory");
  k->i = i;
  k->j = j;
  return static_cast<int>(length);
}

}  // namespace cipher
