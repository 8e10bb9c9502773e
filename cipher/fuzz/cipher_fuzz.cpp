// Fuzzes every cipher with arbitrary keys and data, and Rijndael with tampered key objects.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "cipher/Rc4.h"
#include "cipher/Rc5.h"
#include "cipher/Rc6.h"
#include "cipher/Rijndael.h"

namespace {

struct Cipher {
  int (*createKey)(const uint8_t*, uint32_t, uint8_t*);
  int (*encrypt)(uint8_t*, uint32_t, const uint8_t*);
  int (*decrypt)(uint8_t*, uint32_t, const uint8_t*);
  uint32_t block;  // 0 for the stream cipher
  bool limited;    // Rijndael: 1..512 bytes, whole blocks to decrypt
};

int Rc4(uint8_t* d, uint32_t n, const uint8_t* o) {
  return cipher::Rc4Crypt(d, n, const_cast<uint8_t*>(o));
}

const Cipher kCiphers[] = {
    {cipher::Rc4CreateKey, Rc4, Rc4, 0, false},
    {cipher::Rc5CreateKey, cipher::Rc5Encrypt, cipher::Rc5Decrypt, 8, false},
    {cipher::Rc6CreateKey, cipher::Rc6Encrypt, cipher::Rc6Decrypt, 16, false},
    {cipher::Rj128CreateKey, cipher::Rj128Encrypt, cipher::Rj128Decrypt, 16, true},
    {cipher::Rj256CreateKey, cipher::Rj256Encrypt, cipher::Rj256Decrypt, 32, true},
};

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// Same: whether count bytes agree. An empty vector's data() may be null, which
// memcmp must not be given even for a count of 0.
bool Same(const uint8_t* a, const uint8_t* b, size_t count) {
  return count == 0 || std::memcmp(a, b, count) == 0;
}

// RoundTrip: enciphering then deciphering with fresh key objects restores
// whatever the cipher reports as processed, and nothing else changes.
void RoundTrip(const Cipher& c, const uint8_t* key, uint32_t keyLength, const uint8_t* in,
               size_t size) {
  // Exact-size buffers, so any access past the length is caught.
  std::vector<uint8_t> object(1024);
  std::vector<uint8_t> data(in, in + size);
  const auto length = static_cast<uint32_t>(size);
  if (c.createKey(key, keyLength, object.data()) == 0 && c.block == 0) return;
  const int done = c.encrypt(data.data(), length, object.data());
  if (c.limited && (size == 0 || size > cipher::kRijndaelMaxLength)) {
    Check(done == 0 && Same(data.data(), in, size));
    return;
  }
  const uint32_t whole = c.block ? length - length % c.block : length;
  Check(done == static_cast<int>(c.limited ? length : whole));
  Check(Same(data.data() + whole, c.limited ? data.data() + whole : in + whole, size - whole));
  std::fill(object.begin(), object.end(), 0);
  c.createKey(key, keyLength, object.data());
  const auto encrypted = data;
  const int undone = c.decrypt(data.data(), length, object.data());
  if (whole != length && c.limited) {
    Check(undone == 0 && data == encrypted);
    return;
  }
  Check(undone == static_cast<int>(whole));
  Check(Same(data.data(), in, size));
}

// Tampered: a real key object with bytes patched at chosen offsets must
// either be refused or be used without reaching outside the 1024 bytes.
void Tampered(const Cipher& c, const uint8_t* key, uint32_t keyLength, const uint8_t* in,
              size_t size) {
  std::vector<uint8_t> object(1024);
  c.createKey(key, keyLength, object.data());
  size_t at = 0;
  uint32_t length = 0;
  if (size >= 2) {
    length = static_cast<uint32_t>(in[0] | in[1] << 8) % 600;
    at = 2;
  }
  for (; at + 3 <= size; at += 3) object[(in[at] | in[at + 1] << 8) % 1024] = in[at + 2];
  std::vector<uint8_t> data(length, 0x5A);
  const auto before = data;
  const int e = c.encrypt(data.data(), length, object.data());
  Check(e == 0 || e == static_cast<int>(length));
  if (e == 0) Check(data == before);
  c.decrypt(data.data(), length, object.data());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size < 2) return 0;
  const uint8_t mode = bytes[0] % 7;
  const uint32_t keyLength = bytes[1];
  const uint8_t* key = bytes + 2;
  size -= 2;
  if (keyLength > size) return 0;
  const uint8_t* rest = key + keyLength;
  const size_t restSize = size - keyLength;
  if (mode < 5)
    RoundTrip(kCiphers[mode], key, keyLength, rest, restSize);
  else
    Tampered(kCiphers[mode - 2], key, keyLength, rest, restSize);
  return 0;
}
