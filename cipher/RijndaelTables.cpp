// Compile-time construction of the Rijndael tables from GF(2^8) arithmetic.
#include "cipher/RijndaelTables.h"

#include <bit>

namespace cipher {
namespace {

constexpr uint8_t XTime(uint8_t a) {
  return static_cast<uint8_t>((a << 1) ^ ((a & 0x80) ? 0x1B : 0x00));
}

constexpr uint8_t GfMul(uint8_t a, uint8_t b) {
  uint8_t product = 0;
  while (b) {
    if (b & 1) product ^= a;
    a = XTime(a);
    b >>= 1;
  }
  return product;
}

constexpr uint8_t RotByte(uint8_t b, int n) {
  return static_cast<uint8_t>((b << n) | (b >> (8 - n)));
}

constexpr uint32_t Column(uint8_t r0, uint8_t r1, uint8_t r2, uint8_t r3) {
  return uint32_t{r0} | uint32_t{r1} << 8 | uint32_t{r2} << 16 | uint32_t{r3} << 24;
}

constexpr RijndaelTables BuildTables() {
  RijndaelTables t{};
  // Powers of the generator 3 give logarithms, and through them inverses.
  uint8_t power[255] = {};
  uint8_t log[256] = {};
  uint8_t x = 1;
  for (int n = 0; n < 255; ++n) {
    power[n] = x;
    log[x] = static_cast<uint8_t>(n);
    x = GfMul(x, 3);
  }
  for (int v = 0; v < 256; ++v) {
    const uint8_t inverse = v == 0 ? 0 : power[(255 - log[v]) % 255];
    const uint8_t s = inverse ^ RotByte(inverse, 1) ^ RotByte(inverse, 2) ^ RotByte(inverse, 3) ^
                      RotByte(inverse, 4) ^ 0x63;
    t.sbox[v] = s;
    t.invSbox[s] = static_cast<uint8_t>(v);
  }
  for (int v = 0; v < 256; ++v) {
    const uint8_t s = t.sbox[v];
    const uint8_t i = t.invSbox[v];
    const uint32_t te = Column(GfMul(s, 2), s, s, GfMul(s, 3));
    const uint32_t td = Column(GfMul(i, 14), GfMul(i, 9), GfMul(i, 13), GfMul(i, 11));
    for (int r = 0; r < 4; ++r) {
      t.te[r][v] = std::rotl(te, 8 * r);
      t.td[r][v] = std::rotl(td, 8 * r);
    }
  }
  return t;
}

constexpr bool MatchesPublishedSpots(const RijndaelTables& t) {
  return t.sbox[0x00] == 0x63 && t.sbox[0x53] == 0xED && t.sbox[0xFF] == 0x16 &&
         t.invSbox[0x63] == 0x00 && t.te[0][0x00] == 0xA56363C6 && t.td[0][0x00] == 0x50A7F451;
}

// A slip in the arithmetic fails the build rather than a test run.
static_assert(MatchesPublishedSpots(BuildTables()));

}  // namespace

constinit const RijndaelTables kRijndaelTables = BuildTables();

}  // namespace cipher
