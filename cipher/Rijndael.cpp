// Rijndael key objects and sector buffer handling over the chosen engine's kernels.
#include "cipher/Rijndael.h"

#include <cstring>

#include "cipher/CipherEngine.h"
#include "cipher/RijndaelKey.h"

namespace cipher {
namespace {

// KeyAt: the key object inside a caller's buffer, at its first 4-aligned byte.
template <class V>
typename V::Key* KeyAt(uint8_t* buffer) {
  const auto skip = (4 - (reinterpret_cast<uintptr_t>(buffer) & 3)) & 3;
  return reinterpret_cast<typename V::Key*>(buffer + skip);
}

template <class V>
const typename V::Key* KeyAt(const uint8_t* buffer) {
  return KeyAt<V>(const_cast<uint8_t*>(buffer));
}

// Kernels for one of the two Rijndael variants.
template <class V>
struct Variant;

template <>
struct Variant<Rijndael128> {
  static auto Expand(const RijndaelKernels& k) { return k.expand128; }
  static auto Encrypt(const RijndaelKernels& k) { return k.encrypt128; }
  static auto Decrypt(const RijndaelKernels& k) { return k.decrypt128; }
};

template <>
struct Variant<Rijndael256> {
  static auto Expand(const RijndaelKernels& k) { return k.expand256; }
  static auto Encrypt(const RijndaelKernels& k) { return k.encrypt256; }
  static auto Decrypt(const RijndaelKernels& k) { return k.decrypt256; }
};

template <class V>
int CreateKey(const CipherEngine& engine, const uint8_t* key, uint32_t length, uint8_t* keyObject) {
  if (keyObject == nullptr || (key == nullptr && length != 0)) return 0;
  constexpr uint32_t keyBytes = 4 * V::kNk;
  constexpr uint32_t used = V::kNb * (V::kNr + 1);
  const uint32_t taken = length < keyBytes ? length : keyBytes;
  uint8_t padded[keyBytes] = {};
  if (taken) std::memcpy(padded, key, taken);

  auto* k = KeyAt<V>(keyObject);
  k->magic = kRijndaelMagic;
  k->nk = V::kNk;
  k->nb = V::kNb;
  k->nr = V::kNr;
  Variant<V>::Expand (*engine.rijndael)(padded, k->enc, k->dec);
  // The unused tail of each area is zero, whichever engine filled the rest.
  for (uint32_t n = used; n < V::kAreaWords; ++n) k->enc[n] = k->dec[n] = 0;
  // The padded key is secret; do not leave it on the stack.
  volatile uint8_t* wipe = padded;
  for (uint32_t n = 0; n < keyBytes; ++n) wipe[n] = 0;
  return static_cast<int>(taken);
}

// UsableKey: the key object when the call may proceed, else null. The round
// counts are checked too: a forged Nr would walk the rounds off the object.
template <class V>
const typename V::Key* UsableKey(const uint8_t* data, uint32_t length, const uint8_t* keyObject) {
  if (data == nullptr || keyObject == nullptr) return nullptr;
  if (length == 0 || length > kRijndaelMaxLength) return nullptr;
  const auto* k = KeyAt<V>(keyObject);
  if (k->magic != kRijndaelMagic || k->nb != V::kNb || k->nk != V::kNk || k->nr != V::kNr)
    return nullptr;
  return k;
}

// Encrypt: the whole blocks straight in place (each block is read before it
// is written, and the checks are all done, so nothing can fail half-way),
// then a partial block padded from a copy: the bytes past length belong to
// the caller.
template <class V>
int Encrypt(const CipherEngine& engine, uint8_t* data, uint32_t length, const uint8_t* keyObject) {
  const auto* k = UsableKey<V>(data, length, keyObject);
  if (k == nullptr) return 0;
  constexpr uint32_t blockBytes = 4 * V::kNb;
  const auto encrypt = Variant<V>::Encrypt(*engine.rijndael);
  const uint32_t whole = length - length % blockBytes;
  encrypt(data, data, whole / blockBytes, k->enc);
  if (whole < length) {
    uint8_t last[blockBytes] = {};
    std::memcpy(last, data + whole, length - whole);
    encrypt(last, last, 1, k->enc);
    std::memcpy(data + whole, last, length - whole);
  }
  return static_cast<int>(length);
}

template <class V>
int Decrypt(const CipherEngine& engine, uint8_t* data, uint32_t length, const uint8_t* keyObject) {
  const auto* k = UsableKey<V>(data, length, keyObject);
  if (k == nullptr) return 0;
  constexpr uint32_t blockBytes = 4 * V::kNb;
  // A partial block cannot be deciphered without the bytes that Encrypt
  // dropped; refusing keeps every access inside the caller's length.
  if (length % blockBytes != 0) return 0;
  Variant<V>::Decrypt (*engine.rijndael)(data, data, length / blockBytes, k->dec);
  return static_cast<int>(length);
}

}  // namespace

int Rj128CreateKey(const CipherEngine& e, const uint8_t* key, uint32_t length, uint8_t* object) {
  return CreateKey<Rijndael128>(e, key, length, object);
}
int Rj256CreateKey(const CipherEngine& e, const uint8_t* key, uint32_t length, uint8_t* object) {
  return CreateKey<Rijndael256>(e, key, length, object);
}
int Rj128Encrypt(const CipherEngine& e, uint8_t* data, uint32_t length, const uint8_t* object) {
  return Encrypt<Rijndael128>(e, data, length, object);
}
int Rj256Encrypt(const CipherEngine& e, uint8_t* data, uint32_t length, const uint8_t* object) {
  return Encrypt<Rijndael256>(e, data, length, object);
}
int Rj128Decrypt(const CipherEngine& e, uint8_t* data, uint32_t length, const uint8_t* object) {
  return Decrypt<Rijndael128>(e, data, length, object);
}
int Rj256Decrypt(const CipherEngine& e, uint8_t* data, uint32_t length, const uint8_t* object) {
  return Decrypt<Rijndael256>(e, data, length, object);
}

int Rj128CreateKey(const uint8_t* key, uint32_t length, uint8_t* keyObject) {
  return CreateKey<Rijndael128>(ActiveEngine(), key, length, keyObject);
}
int Rj256CreateKey(const uint8_t* key, uint32_t length, uint8_t* keyObject) {
  return CreateKey<Rijndael256>(ActiveEngine(), key, length, keyObject);
}
int Rj128Encrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject) {
  return Encrypt<Rijndael128>(ActiveEngine(), data, length, keyObject);
}
int Rj256Encrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject) {
  return Encrypt<Rijndael256>(ActiveEngine(), data, length, keyObject);
}
int Rj128Decrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject) {
  return Decrypt<Rijndael128>(ActiveEngine(), data, length, keyObject);
}
int Rj256Decrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject) {
  return Decrypt<Rijndael256>(ActiveEngine(), data, length, keyObject);
}

}  // namespace cipher
