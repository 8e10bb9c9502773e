// RC4: the stream cipher behind the RC4_ exports, with its 258-byte key object.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cipher {

// Rc4Key: the key object as stored in the caller's buffer.
struct Rc4Key {
  uint8_t s[256];  // the permutation
  uint8_t i;       // indices kept between calls, so calls continue one keystream
  uint8_t j;
};
static_assert(sizeof(Rc4Key) == 258);
static_assert(offsetof(Rc4Key, i) == 256 && offsetof(Rc4Key, j) == 257);
static_assert(alignof(Rc4Key) == 1, "the key object may sit at any address");

// Rc4CreateKey: schedules all length key bytes (only the first 256 can take
// part) into keyObject with i = j = 0 and returns 258. A length of 0 returns 0
// and leaves keyObject untouched.
int Rc4CreateKey(const uint8_t* key, uint32_t length, uint8_t* keyObject);

// Rc4Crypt: XORs length bytes of data with the keystream and stores the
// advanced indices and permutation back; returns length. Enciphering and
// deciphering are this same operation.
int Rc4Crypt(uint8_t* data, uint32_t length, uint8_t* keyObject);

}  // namespace cipher
