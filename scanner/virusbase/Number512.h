// 512-bit numbers as 32 little-endian 16-bit digits, and Montgomery products over them.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace scanner {

inline constexpr int kDigits512 = 32;

// Number512: an unsigned 512-bit number, digit 0 least significant.
using Number512 = std::array<uint16_t, kDigits512>;

// MontgomeryModulus: an odd modulus p with n0 = -p^-1 mod 2^16; products are
// taken with R = 2^512.
struct MontgomeryModulus {
  Number512 p{};
  uint16_t n0 = 0;
};

// Number512FromBytes: reads up to 64 bytes as a little-endian integer; missing
// high bytes are zero.
Number512 Number512FromBytes(std::span<const uint8_t> bytes);

// Number512ToBytes: writes the number as 64 bytes, least significant first.
std::array<uint8_t, 64> Number512ToBytes(const Number512& n);

// CompareNumbers: -1, 0 or 1 as a is below, equal to or above b.
int CompareNumbers(const Number512& a, const Number512& b);

// SubtractInPlace: a -= b modulo 2^512; returns the borrow out (0 or 1).
uint16_t SubtractInPlace(Number512& a, const Number512& b);

// MontgomeryProduct: a * b * R^-1 mod p. With a and b below p the result is
// fully reduced; other inputs below R give a result below R (never out of
// bounds, just not reduced).
Number512 MontgomeryProduct(const Number512& a, const Number512& b, const MontgomeryModulus& m);

// MontgomeryReduce: a * R^-1 mod p, which takes a number out of Montgomery form.
Number512 MontgomeryReduce(const Number512& a, const MontgomeryModulus& m);

// MontgomeryN0: -p^-1 mod 2^16 for an odd lowest digit.
uint16_t MontgomeryN0(uint16_t lowestDigit);

}  // namespace scanner
