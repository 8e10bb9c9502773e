// RC6-32/20/32 key expansion (the library's variant), the scalar block kernels and the sector
// calls.
#include "cipher/Rc6.h"

#include "cipher/CipherEngine.h"
#include "cipher/RcKernels.h"
#include "cipher/Words.h"

namespace cipher {
namespace {

constexpr int kRc6LWords = kRc6KeyBytes / 4;

}  // namespace

int Rc6CreateKey(const uint8_t* key, uint32_t length, uint8_t* keyObject) {
  uint8_t padded[kRc6KeyBytes] = {};
  for (uint32_t n = 0; n < kRc6KeyBytes && n < length; ++n) padded[n] = key[n];
  uint32_t l[kRc6LWords];
  LoadLe32Words(padded, l);

  uint32_t s[kRc6KeyWords];
  s[0] = kP32;
  for (int n = 1; n < kRc6KeyWords; ++n) s[n] = s[n - 1] + kQ32;

  uint32_t a = 0, b = 0;
  int i = 0, j = 0;
  for (int step = 0; step < 3 * kRc6KeyWords; ++step) {
    a = s[i] = RotL(s[i] + a + b, 3);
    b = l[j] = RotL(l[j] + a + b, a + b);
    // The index advance that existing containers were made with: S[0] and
    // L[0] take part in the first pass only.
    i = i % (kRc6KeyWords - 1) + 1;
    j = j % (kRc6LWords - 1) + 1;
  }
  StoreLe32Words(keyObject, s);
  return static_cast<int>(sizeof(Rc6Key));
}

void Rc6EncryptBlocks(uint8_t* data, size_t blocks, const uint32_t* s) {
  for (size_t n = 0; n < blocks; ++n) {
    uint8_t* p = data + n * kRc6BlockBytes;
    uint32_t a = LoadLe32(p), b = LoadLe32(p + 4), c = LoadLe32(p + 8), d = LoadLe32(p + 12);
    b += s[0];
    d += s[1];
    for (int r = 1; r <= kRc6Rounds; ++r) {
      const uint32_t t = RotL(b * (2 * b + 1), 5);
      const uint32_t u = RotL(d * (2 * d + 1), 5);
      a = RotL(a ^ t, u) + s[2 * r];
      c = RotL(c ^ u, t) + s[2 * r + 1];
      const uint32_t first = a;
      a = b;
      b = c;
      c = d;
      d = first;
    }
    a += s[2 * kRc6Rounds + 2];
    c += s[2 * kRc6Rounds + 3];
    StoreLe32(p, a);
    StoreLe32(p + 4, b);
    StoreLe32(p + 8, c);
    StoreLe32(p + 12, d);
  }
}

void Rc6DecryptBlocks(uint8_t* data, size_t blocks, const uint32_t* s) {
  for (size_t n = 0; n < blocks; ++n) {
    uint8_t* p = data + n * kRc6BlockBytes;
    uint32_t a = LoadLe32(p), b = LoadLe32(p + 4), c = LoadLe32(p + 8), d = LoadLe32(p + 12);
    c -= s[2 * kRc6Rounds + 3];
    a -= s[2 * kRc6Rounds + 2];
    for (int r = kRc6Rounds; r >= 1; --r) {
      const uint32_t last = d;
      d = c;
      c = b;
      b = a;
      a = last;
      const uint32_t u = RotL(d * (2 * d + 1), 5);
      const uint32_t t = RotL(b * (2 * b + 1), 5);
      c = RotR(c - s[2 * r + 1], t) ^ u;
      a = RotR(a - s[2 * r], u) ^ t;
    }
    d -= s[1];
    b -= s[0];
    StoreLe32(p, a);
    StoreLe32(p + 4, b);
    StoreLe32(p + 8, c);
    StoreLe32(p + 12, d);
  }
}

int Rc6Encrypt(const CipherEngine& engine, uint8_t* data, uint32_t length,
               const uint8_t* keyObject) {
  uint32_t s[kRc6KeyWords];
  LoadLe32Words(keyObject, s);
  const uint32_t whole = length - length % kRc6BlockBytes;
  engine.rc->rc6Encrypt(data, whole / kRc6BlockBytes, s);
  return static_cast<int>(whole);
}

int Rc6Decrypt(const CipherEngine& engine, uint8_t* data, uint32_t length,
               const uint8_t* keyObject) {
  uint32_t s[kRc6KeyWords];
  LoadLe32Words(keyObject, s);
  const uint32_t whole = length - length % kRc6BlockBytes;
  engine.rc->rc6Decrypt(data, whole / kRc6BlockBytes, s);
  return static_cast<int>(whole);
}

int Rc6Encrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject) {
  return Rc6Encrypt(ActiveEngine(), data, length, keyObject);
}

int Rc6Decrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject) {
  return Rc6Decrypt(ActiveEngine(), data, length, keyObject);
}

}  // namespace cipher
