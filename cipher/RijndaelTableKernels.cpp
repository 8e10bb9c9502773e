// Rijndael key expansion and block rounds with the lookup tables of the standard.
#include <utility>

#include "cipher/RijndaelKernels.h"
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

// InvMixColumn: InvMixColumns of one column. The inverse tables hold
// InvMixColumns of the inverse S-box, so passing the byte through the S-box
// first cancels it.
uint32_t InvMixColumn(uint32_t w) {
  return T.td[0][T.sbox[Byte(w, 0)]] ^ T.td[1][T.sbox[Byte(w, 1)]] ^ T.td[2][T.sbox[Byte(w, 2)]] ^
         T.td[3][T.sbox[Byte(w, 3)]];
}

template <class V>
void Expand(const uint8_t* key, uint32_t* enc, uint32_t* dec) {
  constexpr uint32_t nk = V::kNk, nb = V::kNb, nr = V::kNr;
  constexpr uint32_t used = nb * (nr + 1);
  // The expansion runs in whole groups of Nk words.
  constexpr uint32_t expanded = (used + nk - 1) / nk * nk;

  uint32_t w[expanded];
  for (uint32_t n = 0; n < nk; ++n) w[n] = LoadLe32(key + 4 * n);
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
  for (uint32_t n = 0; n < used; ++n) {
    enc[n] = w[n];
    const bool inner = n >= nb && n < nr * nb;
    dec[n] = inner ? InvMixColumn(w[n]) : w[n];
  }
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

template <class V>
void EncryptBlocks(const uint8_t* in, uint8_t* out, size_t blocks, const uint32_t* rk) {
  constexpr size_t bytes = 4 * V::kNb;
  for (size_t n = 0; n < blocks; ++n) EncryptBlock<V>(in + n * bytes, out + n * bytes, rk);
}

template <class V>
void DecryptBlocks(const uint8_t* in, uint8_t* out, size_t blocks, const uint32_t* dk) {
  constexpr size_t bytes = 4 * V::kNb;
  for (size_t n = 0; n < blocks; ++n) DecryptBlock<V>(in + n * bytes, out + n * bytes, dk);
}

constexpr RijndaelKernels kTableKernels{
    Expand<Rijndael128>,        Expand<Rijndael256>,        EncryptBlocks<Rijndael128>,
    DecryptBlocks<Rijndael128>, EncryptBlocks<Rijndael256>, DecryptBlocks<Rijndael256>,
};

}  // namespace

const RijndaelKernels& TableRijndaelKernels() {
  return kTableKernels;
}

}  // namespace cipher
