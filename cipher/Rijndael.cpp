// Rijndael key expansion, table-driven block rounds and sector buffer handling.
#include "cipher/Rijndael.h"

#include <cstring>
#include <utility>

#include "cipher/RijndaelKey.h"
#include "cipher/RijndaelTables.h"
#include "cipher/Words.h"

namespace cipher {
namespace {

constexpr const RijndaelTables& T = kRijndaelTables;

constexpr uint32_t Byte(uint32_t w, int row) {
  return (w >> (8 * row)) & 0xFF;
}

uint32_t SubWord(uint32_t w) {
  return uint32_t{T.sbox[Byte(w, 0)]} | uint32_t{T.sbox[Byte(w, 1)]} << 8 |
         uint32_t{T.sbox[Byte(w, 2)]} << 16 | uint32_t{T.sbox[Byte(w, 3)]} << 24;
}

// InvMixColumns of one column: the inverse tables hold InvMixColumns of the
// inverse S-box, so passing the byte through the S-box first cancels it.
uint32_t InvMixColumn(uint32_t w) {
  return T.td[0][T.sbox[Byte(w, 0)]] ^ T.td[1][T.sbox[Byte(w, 1)]] ^ T.td[2][T.sbox[Byte(w, 2)]] ^
         T.td[3][T.sbox[Byte(w, 3)]];
}

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

template <class V>
int CreateKey(const uint8_t* key, uint32_t length, uint8_t* keyObject) {
  if (keyObject == nullptr || (key == nullptr && length != 0)) return 0;
  constexpr uint32_t nk = V::kNk, nb = V::kNb, nr = V::kNr;
  constexpr uint32_t used = nb * (nr + 1);
  // The expansion runs in whole groups of Nk words.
  constexpr uint32_t expanded = (used + nk - 1) / nk * nk;

  const uint32_t taken = length < 4 * nk ? length : 4 * nk;
  uint8_t padded[4 * nk] = {};
  if (taken) std::memcpy(padded, key, taken);

  uint32_t w[expanded];
  for (uint32_t n = 0; n < nk; ++n) w[n] = LoadLe32(padded + 4 * n);
  uint8_t rcon = 1;
  for (uint32_t n = nk; n < expanded; ++n) {
    uint32_t temp = w[n - 1];
    if (n % nk == 0) {
      // RotWord moves byte 1 to byte 0, which in a little-endian word is a
      // right rotation.
      temp = SubWord(std::rotr(temp, 8)) ^ rcon;
      rcon = static_cast<uint8_t>((rcon << 1) ^ ((rcon & 0x80) ? 0x1B : 0));
    } else if (nk > 6 && n % nk == 4) {
      temp = SubWord(temp);
    }
    w[n] = w[n - nk] ^ temp;
  }

  auto* k = KeyAt<V>(keyObject);
  k->magic = kRijndaelMagic;
  k->nk = nk;
  k->nb = nb;
  k->nr = nr;
  for (uint32_t n = 0; n < V::kAreaWords; ++n) k->enc[n] = n < used ? w[n] : 0;
  for (uint32_t n = 0; n < V::kAreaWords; ++n) {
    const bool inner = n >= nb && n < nr * nb;
    k->dec[n] = inner ? InvMixColumn(k->enc[n]) : k->enc[n];
  }
  return static_cast<int>(taken);
}

// EncryptBlock: one block from in to out (either may be unaligned; they may
// be the same). The column loops are expanded at compile time so the state
// stays in registers.
template <class V>
void EncryptBlock(const uint8_t* in, uint8_t* out, const uint32_t* rk) {
  constexpr uint32_t nb = V::kNb;
  constexpr uint32_t o1 = V::kShift[1], o2 = V::kShift[2], o3 = V::kShift[3];
  uint32_t s[nb];
  uint32_t t[nb];
  [&]<size_t... C>(std::index_sequence<C...>) {
    ((s[C] = LoadLe32(in + 4 * C) ^ rk[C]), ...);
    for (uint32_t round = 1; round < V::kNr; ++round) {
      rk += nb;
      ((t[C] = T.te[0][Byte(s[C], 0)] ^ T.te[1][Byte(s[(C + o1) % nb], 1)] ^
               T.te[2][Byte(s[(C + o2) % nb], 2)] ^ T.te[3][Byte(s[(C + o3) % nb], 3)] ^ rk[C]),
       ...);
      ((s[C] = t[C]), ...);
    }
    rk += nb;
    ((t[C] = (uint32_t{T.sbox[Byte(s[C], 0)]} | uint32_t{T.sbox[Byte(s[(C + o1) % nb], 1)]} << 8 |
              uint32_t{T.sbox[Byte(s[(C + o2) % nb], 2)]} << 16 |
              uint32_t{T.sbox[Byte(s[(C + o3) % nb], 3)]} << 24) ^
             rk[C]),
     ...);
    (StoreLe32(out + 4 * C, t[C]), ...);
  }
  (std::make_index_sequence<nb>{});
}

// DecryptBlock: the equivalent inverse cipher over the decryption keys, from
// the last round key down to the first.
template <class V>
void DecryptBlock(const uint8_t* in, uint8_t* out, const uint32_t* dk) {
  constexpr uint32_t nb = V::kNb;
  // Inverse ShiftRows takes row r of column c from column c - offset(r).
  constexpr uint32_t o1 = nb - V::kShift[1], o2 = nb - V::kShift[2], o3 = nb - V::kShift[3];
  const uint32_t* rk = dk + V::kNr * nb;
  uint32_t s[nb];
  uint32_t t[nb];
  [&]<size_t... C>(std::index_sequence<C...>) {
    ((s[C] = LoadLe32(in + 4 * C) ^ rk[C]), ...);
    for (uint32_t round = 1; round < V::kNr; ++round) {
      rk -= nb;
      ((t[C] = T.td[0][Byte(s[C], 0)] ^ T.td[1][Byte(s[(C + o1) % nb], 1)] ^
               T.td[2][Byte(s[(C + o2) % nb], 2)] ^ T.td[3][Byte(s[(C + o3) % nb], 3)] ^ rk[C]),
       ...);
      ((s[C] = t[C]), ...);
    }
    rk -= nb;
    ((t[C] = (uint32_t{T.invSbox[Byte(s[C], 0)]} |
              uint32_t{T.invSbox[Byte(s[(C + o1) % nb], 1)]} << 8 |
              uint32_t{T.invSbox[Byte(s[(C + o2) % nb], 2)]} << 16 |
              uint32_t{T.invSbox[Byte(s[(C + o3) % nb], 3)]} << 24) ^
             rk[C]),
     ...);
    (StoreLe32(out + 4 * C, t[C]), ...);
  }
  (std::make_index_sequence<nb>{});
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

template <class V>
int Encrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject) {
  const auto* k = UsableKey<V>(data, length, keyObject);
  if (k == nullptr) return 0;
  constexpr uint32_t blockBytes = 4 * V::kNb;
  alignas(4) uint8_t scratch[kRijndaelMaxLength];
  const uint32_t whole = length - length % blockBytes;
  for (uint32_t off = 0; off < whole; off += blockBytes)
    EncryptBlock<V>(data + off, scratch + off, k->enc);
  if (whole < length) {
    // Pad from a copy: the bytes past length belong to the caller.
    uint8_t last[blockBytes] = {};
    std::memcpy(last, data + whole, length - whole);
    EncryptBlock<V>(last, scratch + whole, k->enc);
  }
  std::memcpy(data, scratch, length);
  return static_cast<int>(length);
}

template <class V>
int Decrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject) {
  const auto* k = UsableKey<V>(data, length, keyObject);
  if (k == nullptr) return 0;
  constexpr uint32_t blockBytes = 4 * V::kNb;
  // A partial block cannot be deciphered without the bytes that Encrypt
  // dropped; refusing keeps every access inside the caller's length.
  if (length % blockBytes != 0) return 0;
  alignas(4) uint8_t scratch[kRijndaelMaxLength];
  for (uint32_t off = 0; off < length; off += blockBytes)
    DecryptBlock<V>(data + off, scratch + off, k->dec);
  std::memcpy(data, scratch, length);
  return static_cast<int>(length);
}

}  // namespace

int Rj128CreateKey(const uint8_t* key, uint32_t length, uint8_t* keyObject) {
  return CreateKey<Rijndael128>(key, length, keyObject);
}
int Rj256CreateKey(const uint8_t* key, uint32_t length, uint8_t* keyObject) {
  return CreateKey<Rijndael256>(key, length, keyObject);
}
int Rj128Encrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject) {
  return Encrypt<Rijndael128>(data, length, keyObject);
}
int Rj256Encrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject) {
  return Encrypt<Rijndael256>(data, length, keyObject);
}
int Rj128Decrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject) {
  return Decrypt<Rijndael128>(data, length, keyObject);
}
int Rj256Decrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject) {
  return Decrypt<Rijndael256>(data, length, keyObject);
}

}  // namespace cipher
