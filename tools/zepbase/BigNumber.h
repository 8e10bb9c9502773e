// Modular arithmetic the producer needs beyond verification: primes, powers, random numbers.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "scanner/virusbase/Number512.h"

namespace zepbase {

using scanner::Number512;

// Random: the producer's randomness, read from the host's random device.
class Random {
 public:
  Random();
  uint16_t Digit();

 private:
  std::random_device device_;
};

bool IsZero(const Number512& n);
int BitLength(const Number512& n);
Number512 FromSmall(uint32_t v);

// Multiply: a * b; returns false when the product does not fit in 512 bits.
bool Multiply(const Number512& a, const Number512& b, Number512& product);

// AddSmall: n + v modulo 2^512.
Number512 AddSmall(const Number512& n, uint16_t v);

// RemainderSmall: n mod d, d > 0.
uint32_t RemainderSmall(const Number512& n, uint16_t d);

// ToHex / FromHex: big-endian hexadecimal without leading zeros ("0" for zero).
// FromHex returns false for an empty, non-hex or too long text.
std::string ToHex(const Number512& n);
bool FromHex(std::string_view text, Number512& n);

// RandomBits: a random number below 2^bits with the top bit set.
Number512 RandomBits(int bits, Random& random);

// Modulus: an odd modulus with its Montgomery constants.
struct Modulus {
  scanner::MontgomeryModulus m;
  Number512 one{};  // R mod n
  Number512 r2{};   // R^2 mod n
};

// MakeModulus: the constants for an odd n > 1.
Modulus MakeModulus(const Number512& n);

// ModMul / ModPow: plain (non-Montgomery) residues below n in and out.
Number512 ModMul(const Number512& a, const Number512& b, const Modulus& mod);
Number512 ModPow(const Number512& base, const Number512& exponent, const Modulus& mod);

// ToMontgomery: a * R mod n for a below n.
Number512 ToMontgomery(const Number512& a, const Modulus& mod);

// RandomBelow: a uniform random number in [1, n - 1].
Number512 RandomBelow(const Number512& n, Random& random);

// IsProbablePrime: trial division and Miller-Rabin with `rounds` random bases.
bool IsProbablePrime(const Number512& n, int rounds, Random& random);

}  // namespace zepbase
