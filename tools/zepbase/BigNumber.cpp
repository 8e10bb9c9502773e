// Schoolbook helpers and Miller-Rabin over the verifier's Montgomery product.
#include "tools/zepbase/BigNumber.h"

namespace zepbase {

using scanner::CompareNumbers;
using scanner::kDigits512;
using scanner::MontgomeryProduct;

Random::Random() : device_("/dev/urandom") {}

uint16_t Random::Digit() {
  return static_cast<uint16_t>(device_());
}

bool IsZero(const Number512& n) {
  for (uint16_t d : n)
    if (d != 0) return false;
  return true;
}

int BitLength(const Number512& n) {
  for (int i = kDigits512 - 1; i >= 0; --i)
    for (int b = 15; b >= 0; --b)
      if ((n[i] >> b) & 1) return 16 * i + b + 1;
  return 0;
}

Number512 FromSmall(uint32_t v) {
  Number512 n{};
  n[0] = static_cast<uint16_t>(v);
  n[1] = static_cast<uint16_t>(v >> 16);
  return n;
}

bool Multiply(const Number512& a, const Number512& b, Number512& product) {
  uint32_t wide[2 * kDigits512] = {};
  for (int i = 0; i < kDigits512; ++i) {
    uint32_t carry = 0;
    for (int j = 0; j < kDigits512; ++j) {
      const uint32_t s = wide[i + j] + uint32_t{a[j]} * b[i] + carry;
      wide[i + j] = s & 0xFFFF;
      carry = s >> 16;
    }
    wide[i + kDigits512] = carry;
  }
  for (int i = kDigits512; i < 2 * kDigits512; ++i)
    if (wide[i] != 0) return false;
  for (int i = 0; i < kDigits512; ++i) product[i] = static_cast<uint16_t>(wide[i]);
  return true;
}

Number512 AddSmall(const Number512& n, uint16_t v) {
  Number512 r = n;
  uint32_t carry = v;
  for (int i = 0; i < kDigits512 && carry != 0; ++i) {
    const uint32_t s = r[i] + carry;
    r[i] = static_cast<uint16_t>(s);
    carry = s >> 16;
  }
  return r;
}

uint32_t RemainderSmall(const Number512& n, uint16_t d) {
  uint32_t r = 0;
  for (int i = kDigits512 - 1; i >= 0; --i) r = ((r << 16) | n[i]) % d;
  return r;
}

std::string ToHex(const Number512& n) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (int i = kDigits512 - 1; i >= 0; --i)
    for (int s = 12; s >= 0; s -= 4) {
      const int v = (n[i] >> s) & 15;
      if (out.empty() && v == 0) continue;
      out.push_back(kHex[v]);
    }
  return out.empty() ? "0" : out;
}

bool FromHex(std::string_view text, Number512& n) {
  if (text.empty() || text.size() > 128) return false;
  n = {};
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[text.size() - 1 - i];
    int v;
    if (c >= '0' && c <= '9')
      v = c - '0';
    else if (c >= 'a' && c <= 'f')
      v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      v = c - 'A' + 10;
    else
      return false;
    n[i / 4] = static_cast<uint16_t>(n[i / 4] | (v << (4 * (i % 4))));
  }
  return true;
}

Number512 RandomBits(int bits, Random& random) {
  Number512 n{};
  for (int i = 0; i < kDigits512; ++i) n[i] = random.Digit();
  for (int b = bits; b < 16 * kDigits512; ++b)
    n[b / 16] &= static_cast<uint16_t>(~(1u << (b % 16)));
  n[(bits - 1) / 16] |= static_cast<uint16_t>(1u << ((bits - 1) % 16));
  return n;
}

namespace {

// Doubles x modulo n (x below n).
void DoubleMod(Number512& x, const Number512& n) {
  uint16_t carry = 0;
  for (int i = 0; i < kDigits512; ++i) {
    const uint32_t v = (uint32_t{x[i]} << 1) | carry;
    x[i] = static_cast<uint16_t>(v);
    carry = static_cast<uint16_t>(v >> 16);
  }
  if (carry != 0 || CompareNumbers(x, n) >= 0) scanner::SubtractInPlace(x, n);
}

}  // namespace

Modulus MakeModulus(const Number512& n) {
  Modulus mod;
  mod.m.p = n;
  mod.m.n0 = scanner::MontgomeryN0(n[0]);
  Number512 x = FromSmall(1);
  for (int i = 0; i < 512; ++i) DoubleMod(x, n);
  mod.one = x;
  for (int i = 0; i < 512; ++i) DoubleMod(x, n);
  mod.r2 = x;
  return mod;
}

Number512 ToMontgomery(const Number512& a, const Modulus& mod) {
  return MontgomeryProduct(a, mod.r2, mod.m);
}

Number512 ModMul(const Number512& a, const Number512& b, const Modulus& mod) {
  return MontgomeryProduct(MontgomeryProduct(a, b, mod.m), mod.r2, mod.m);
}

Number512 ModPow(const Number512& base, const Number512& exponent, const Modulus& mod) {
  const Number512 b = ToMontgomery(base, mod);
  Number512 acc = mod.one;
  for (int bit = BitLength(exponent) - 1; bit >= 0; --bit) {
    acc = MontgomeryProduct(acc, acc, mod.m);
    if ((exponent[bit / 16] >> (bit % 16)) & 1) acc = MontgomeryProduct(acc, b, mod.m);
  }
  return scanner::MontgomeryReduce(acc, mod.m);
}

Number512 RandomBelow(const Number512& n, Random& random) {
  const int bits = BitLength(n);
  for (;;) {
    Number512 r{};
    for (int i = 0; i < kDigits512; ++i) r[i] = random.Digit();
    for (int b = bits; b < 16 * kDigits512; ++b)
      r[b / 16] &= static_cast<uint16_t>(~(1u << (b % 16)));
    if (!IsZero(r) && CompareNumbers(r, n) < 0) return r;
  }
}

bool IsProbablePrime(const Number512& n, int rounds, Random& random) {
  static const uint16_t kSmallPrimes[] = {
      3,   5,   7,   11,  13,  17,  19,  23,  29,  31,  37,  41,  43,  47,  53,  59,  61,  67,  71,
      73,  79,  83,  89,  97,  101, 103, 107, 109, 113, 127, 131, 137, 139, 149, 151, 157, 163, 167,
      173, 179, 181, 191, 193, 197, 199, 211, 223, 227, 229, 233, 239, 241, 251, 257, 263, 269, 271,
      277, 281, 283, 293, 307, 311, 313, 317, 331, 337, 347, 349, 353, 359, 367, 373, 379, 383, 389,
      397, 401, 409, 419, 421, 431, 433, 439, 443, 449, 457, 461, 463, 467, 479, 487, 491, 499, 503,
      509, 521, 523, 541, 547, 557, 563, 569, 571, 577, 587, 593, 599, 601, 607, 613, 617, 619, 631,
      641, 643, 647, 653, 659, 661, 673, 677, 683, 691, 701, 709, 719, 727, 733, 739, 743, 751, 757,
      761, 769, 773, 787, 797, 809, 811, 821, 823, 827, 829, 839, 853, 857, 859, 863, 877, 881, 883,
      887, 907, 911, 919, 929, 937, 941, 947, 953, 967, 971, 977, 983, 991, 997};
  if ((n[0] & 1) == 0 || BitLength(n) < 11) return false;  // only large odd numbers are asked
  for (uint16_t p : kSmallPrimes)
    if (RemainderSmall(n, p) == 0) return false;

  const Modulus mod = MakeModulus(n);
  Number512 nMinus1 = n;
  nMinus1[0] &= 0xFFFE;  // n is odd
  int r = 0;
  Number512 d = nMinus1;
  while ((d[0] & 1) == 0) {
    for (int i = 0; i < kDigits512; ++i)
      d[i] = static_cast<uint16_t>((d[i] >> 1) | (i + 1 < kDigits512 ? d[i + 1] << 15 : 0));
    ++r;
  }
  Number512 minusOne = n;  // -1 in Montgomery form is n - R mod n
  scanner::SubtractInPlace(minusOne, mod.one);

  for (int round = 0; round < rounds; ++round) {
    Number512 a = RandomBelow(nMinus1, random);
    if (BitLength(a) < 2) a = FromSmall(2);
    const Number512 am = ToMontgomery(a, mod);
    Number512 x = mod.one;
    for (int bit = BitLength(d) - 1; bit >= 0; --bit) {
      x = MontgomeryProduct(x, x, mod.m);
      if ((d[bit / 16] >> (bit % 16)) & 1) x = MontgomeryProduct(x, am, mod.m);
    }
    if (x == mod.one || x == minusOne) continue;
    bool witness = true;
    for (int i = 1; i < r && witness; ++i) {
      x = MontgomeryProduct(x, x, mod.m);
      if (x == minusOne) witness = false;
    }
    if (witness) return false;
  }
  return true;
}

}  // namespace zepbase
