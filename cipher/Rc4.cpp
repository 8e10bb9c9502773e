// RC4 key scheduling and keystream.
#include "cipher/Rc4.h"

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
  uint8_t* s = k->s;
  uint8_t i = k->i;
  uint8_t j = k->j;
  for (uint32_t x = 0; x < length; ++x) {
    i = static_cast<uint8_t>(i + 1);
    const uint8_t si = s[i];
    j = static_cast<uint8_t>(j + si);
    const uint8_t sj = s[j];
    s[i] = sj;
    s[j] = si;
    data[x] ^= s[static_cast<uint8_t>(si + sj)];
  }
  k->i = i;
  k->j = j;
  return static_cast<int>(length);
}

}  // namespace cipher
