// RC5-32/12/16 key expansion, the scalar block kernels and the sector calls.
#include "cipher/Rc5.h"

#include "cipher/CipherEngine.h"
#include "cipher/RcKernels.h"
#include "cipher/Words.h"

namespace cipher {

int Rc5CreateKey(const uint8_t* key, uint32_t length, uint8_t* keyObject) {
  // Four key words even for short keys: a 5-byte key is the same as that key
  // padded with zeros to 16 bytes (stored containers depend on this).
  uint8_t padded[kRc5KeyBytes] = {};
  for (uint32_t n = 0; n < kRc5KeyBytes && n < length; ++n) padded[n] = key[n];
  uint32_t l[4];
  LoadLe32Words(padded, l);

  uint32_t s[kRc5KeyWords];
  s[0] = kP32;
  for (int n = 1; n < kRc5KeyWords; ++n) s[n] = s[n - 1] + kQ32;

  uint32_t a = 0, b = 0;
  int i = 0, j = 0;
  for (int step = 0; step < 3 * kRc5KeyWords; ++step) {
    a = s[i] = RotL(s[i] + a + b, 3);
    b = l[j] = RotL(l[j] + a + b, a + b);
    i = (i + 1) % kRc5KeyWords;
    j = (j + 1) % 4;
  }
  StoreLe32Words(keyObject, s);
  return kRc5KeyWords;
}

void Rc5EncryptBlocks(uint8_t* data, size_t blocks, const uint32_t* s) {
  for (size_t n = 0; n < blocks; ++n) {
    uint8_t* p = data + n * kRc5BlockBytes;
    uint32_t a = LoadLe32(p) + s[0];
    uint32_t b = LoadLe32(p + 4) + s[1];
    for (int r = 1; r <= kRc5Rounds; ++r) {
      a = RotL(a ^ b, b) + s[2 * r];
      b = RotL(b ^ a, a) + s[2 * r + 1];
    }
    StoreLe32(p, a);
    StoreLe32(p + 4, b);
  }
}

void Rc5DecryptBlocks(uint8_t* data, size_t blocks, const uint32_t* s) {
  for (size_t n = 0; n < blocks; ++n) {
    uint8_t* p = data + n * kRc5BlockBytes;
    uint32_t a = LoadLe32(p);
    uint32_t b = LoadLe32(p + 4);
    for (int r = kRc5Rounds; r >= 1; --r) {
      b = RotR(b - s[2 * r + 1], a) ^ a;
      a = RotR(a - s[2 * r], b) ^ b;
    }
    StoreLe32(p, a - s[0]);
    StoreLe32(p + 4, b - s[1]);
  }
}

int Rc5Encrypt(const CipherEngine& engine, uint8_t* data, uint32_t length,
               const uint8_t* keyObject) {
  uint32_t s[kRc5KeyWords];
  LoadLe32Words(keyObject, s);
  const uint32_t whole = length - length % kRc5BlockBytes;
  engine.rc->rc5Encrypt(data, whole / kRc5BlockBytes, s);
  return static_cast<int>(whole);
}

int Rc5Decrypt(const CipherEngine& engine, uint8_t* data, uint32_t length,
               const uint8_t* keyObject) {
  uint32_t s[kRc5KeyWords];
  LoadLe32Words(keyObject, s);
  const uint32_t whole = length - length % kRc5BlockBytes;
  engine.rc->rc5Decrypt(data, whole / kRc5BlockBytes, s);
  return static_cast<int>(whole);
}

int Rc5Encrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject) {
  return Rc5Encrypt(ActiveEngine(), data, length, keyObject);
}

int Rc5Decrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject) {
  return Rc5Decrypt(ActiveEngine(), data, length, keyObject);
}

}  // namespace cipher
