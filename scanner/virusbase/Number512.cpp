// Schoolbook Montgomery multiplication (CIOS) over 16-bit digits.
#include "scanner/virusbase/Number512.h"

namespace scanner {

Number512 Number512FromBytes(std::span<const uint8_t> bytes) {
  Number512 n{};
  const size_t count = bytes.size() < 64 ? bytes.size() : 64;
  for (size_t i = 0; i < count; ++i) n[i / 2] |= static_cast<uint16_t>(bytes[i] << (8 * (i % 2)));
  return n;
}

std::array<uint8_t, 64> Number512ToBytes(const Number512& n) {
  std::array<uint8_t, 64> out{};
  for (int i = 0; i < kDigits512; ++i) {
    out[2 * i] = static_cast<uint8_t>(n[i]);
    out[2 * i + 1] = static_cast<uint8_t>(n[i] >> 8);
  }
  return out;
}

int CompareNumbers(const Number512& a, const Number512& b) {
  for (int i = kDigits512 - 1; i >= 0; --i)
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  return 0;
}

uint16_t SubtractInPlace(Number512& a, const Number512& b) {
  uint32_t borrow = 0;
  for (int i = 0; i < kDigits512; ++i) {
    const uint32_t d = uint32_t{a[i]} - b[i] - borrow;
    a[i] = static_cast<uint16_t>(d);
    borrow = (d >> 16) & 1;
  }
  return static_cast<uint16_t>(borrow);
}

Number512 MontgomeryProduct(const Number512& a, const Number512& b, const MontgomeryModulus& m) {
  // t holds 32 digits plus two overflow digits; every partial sum fits in 32 bits.
  uint32_t t[kDigits512 + 2] = {};
  for (int i = 0; i < kDigits512; ++i) {
    uint32_t carry = 0;
    const uint32_t bi = b[i];
    for (int j = 0; j < kDigits512; ++j) {
      const uint32_t s = t[j] + a[j] * bi + carry;
      t[j] = s & 0xFFFF;
      carry = s >> 16;
    }
    uint32_t s = t[kDigits512] + carry;
    t[kDigits512] = s & 0xFFFF;
    t[kDigits512 + 1] += s >> 16;

    const uint32_t q = (t[0] * m.n0) & 0xFFFF;
    s = t[0] + q * m.p[0];
    carry = s >> 16;
    for (int j = 1; j < kDigits512; ++j) {
      s = t[j] + q * m.p[j] + carry;
      t[j - 1] = s & 0xFFFF;
      carry = s >> 16;
    }
    s = t[kDigits512] + carry;
    t[kDigits512 - 1] = s & 0xFFFF;
    t[kDigits512] = t[kDigits512 + 1] + (s >> 16);
    t[kDigits512 + 1] = 0;
  }
  Number512 r{};
  for (int i = 0; i < kDigits512; ++i) r[i] = static_cast<uint16_t>(t[i]);
  if (t[kDigits512] != 0 || CompareNumbers(r, m.p) >= 0) SubtractInPlace(r, m.p);
  return r;
}

Number512 MontgomeryReduce(const Number512& a, const MontgomeryModulus& m) {
  Number512 one{};
  one[0] = 1;
  return MontgomeryProduct(a, one, m);
}

uint16_t MontgomeryN0(uint16_t lowestDigit) {
  // Newton's iteration doubles the correct low bits of the inverse each step.
  uint32_t inv = lowestDigit;  // correct to 3 bits for an odd number
  for (int i = 0; i < 4; ++i) inv = (inv * (2 - lowestDigit * inv)) & 0xFFFF;
  return static_cast<uint16_t>((0x10000 - inv) & 0xFFFF);
}

}  // namespace scanner
