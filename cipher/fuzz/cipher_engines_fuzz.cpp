// Differential fuzzing: the accelerated engine against the portable one on chosen keys, data and
// lengths.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "cipher/CipherEngine.h"
#include "cipher/Rc5.h"
#include "cipher/Rc6.h"
#include "cipher/Rijndael.h"

namespace {

struct Calls {
  int (*createKey)(const cipher::CipherEngine&, const uint8_t*, uint32_t, uint8_t*);
  int (*encrypt)(const cipher::CipherEngine&, uint8_t*, uint32_t, const uint8_t*);
  int (*decrypt)(const cipher::CipherEngine&, uint8_t*, uint32_t, const uint8_t*);
};

int Rc5Key(const cipher::CipherEngine&, const uint8_t* k, uint32_t n, uint8_t* o) {
  return cipher::Rc5CreateKey(k, n, o);
}
int Rc6Key(const cipher::CipherEngine&, const uint8_t* k, uint32_t n, uint8_t* o) {
  return cipher::Rc6CreateKey(k, n, o);
}

const Calls kCalls[] = {
    {cipher::Rj128CreateKey, cipher::Rj128Encrypt, cipher::Rj128Decrypt},
    {cipher::Rj256CreateKey, cipher::Rj256Encrypt, cipher::Rj256Decrypt},
    {Rc5Key, cipher::Rc5Encrypt, cipher::Rc5Decrypt},
    {Rc6Key, cipher::Rc6Encrypt, cipher::Rc6Decrypt},
};

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// Same: whole buffers agree (std::vector's operator== is fine with empties).
bool Same(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  return a == b;
}

}  // namespace

// Input: a selector byte (cipher, data and key-object alignments, whether the
// data is deciphered as it stands or first enciphered), a key length byte,
// the key, then the data, whose size is the length passed.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size < 2) return 0;
  const uint8_t selector = bytes[0];
  const uint32_t keyLength = bytes[1];
  if (keyLength > size - 2) return 0;
  const Calls& c = kCalls[selector & 3];
  const size_t dataShift = (selector >> 2) & 3, keyShift = (selector >> 4) & 3;
  const bool decipherFirst = (selector & 0x40) != 0;
  const uint8_t* key = bytes + 2;
  const uint8_t* in = key + keyLength;
  const size_t length = size - 2 - keyLength;

  const cipher::CipherEngine& portable = cipher::PortableEngine();
  const cipher::CipherEngine& fast = cipher::FastestEngine();

  std::vector<uint8_t> objectA(1024 + keyShift, 0x3C), objectB(1024 + keyShift, 0x3C);
  Check(c.createKey(portable, key, keyLength, objectA.data() + keyShift) ==
        c.createKey(fast, key, keyLength, objectB.data() + keyShift));
  Check(Same(objectA, objectB));
  const uint8_t* object = objectA.data() + keyShift;

  // Exact-size buffers past the shift, so any access beyond the length is caught.
  std::vector<uint8_t> a(dataShift + length, 0xA5);
  if (length) std::memcpy(a.data() + dataShift, in, length);
  std::vector<uint8_t> b = a;
  const auto n = static_cast<uint32_t>(length);
  uint8_t* pa = a.data() + dataShift;
  uint8_t* pb = b.data() + dataShift;
  if (!decipherFirst) {
    Check(c.encrypt(portable, pa, n, object) == c.encrypt(fast, pb, n, object));
    Check(Same(a, b));
  }
  Check(c.decrypt(portable, pa, n, object) == c.decrypt(fast, pb, n, object));
  Check(Same(a, b));
  return 0;
}
