// Key generation and the key's file and source forms.
#include "tools/zepbase/PrivateKey.h"

#include <cstdio>
#include <sstream>

#include "scanner/virusbase/LittleEndian.h"

namespace zepbase {

using scanner::AppendLe;
using scanner::CompareNumbers;
using scanner::MontgomeryProduct;

namespace {

constexpr int kPrimeRounds = 40;

Number512 GenerateSubgroupPrime(Random& random) {
  for (;;) {
    Number512 q = RandomBits(kSubgroupBits, random);
    q[0] |= 1;
    if (IsProbablePrime(q, kPrimeRounds, random)) return q;
  }
}

// Finds an even m with p = q * m + 1 a 512-bit prime.
Number512 GenerateModulus(const Number512& q, Random& random) {
  for (;;) {
    Number512 m = RandomBits(kModulusBits - kSubgroupBits, random);
    m[0] &= 0xFFFE;
    Number512 qm;
    if (!Multiply(q, m, qm)) continue;
    const Number512 p = AddSmall(qm, 1);
    if (BitLength(p) != kModulusBits) continue;
    if (IsProbablePrime(p, kPrimeRounds, random)) return p;
  }
}

// The cofactor (p - 1) / q, by binary long division.
Number512 Cofactor(const Number512& p, const Number512& q) {
  Number512 rest = p;
  rest[0] &= 0xFFFE;
  Number512 quotient{}, remainder{};
  for (int bit = kModulusBits - 1; bit >= 0; --bit) {
    for (int i = scanner::kDigits512 - 1; i >= 0; --i)
      remainder[i] =
          static_cast<uint16_t>((remainder[i] << 1) | (i > 0 ? remainder[i - 1] >> 15 : 0));
    remainder[0] |= (rest[bit / 16] >> (bit % 16)) & 1;
    if (CompareNumbers(remainder, q) >= 0) {
      scanner::SubtractInPlace(remainder, q);
      quotient[bit / 16] |= static_cast<uint16_t>(1u << (bit % 16));
    }
  }
  return quotient;
}

Number512 SquareTimes(Number512 v, int times, const Modulus& mod) {
  for (int i = 0; i < times; ++i) v = MontgomeryProduct(v, v, mod.m);
  return v;
}

void AppendNumber(std::vector<uint8_t>& out, const Number512& n) {
  const auto bytes = scanner::Number512ToBytes(n);
  out.insert(out.end(), bytes.begin(), bytes.end());
}

std::string ByteArray(const uint8_t* data, size_t size) {
  std::string out;
  char hex[8];
  for (size_t i = 0; i < size; ++i) {
    if (i % 12 == 0) out += "\n   ";
    std::snprintf(hex, sizeof hex, " 0x%02x,", data[i]);
    out += hex;
  }
  return out + "\n";
}

}  // namespace

PrivateKey GenerateKey(const std::string& identifier, Random& random) {
  PrivateKey key;
  key.identifier = identifier;
  key.q = GenerateSubgroupPrime(random);
  key.p = GenerateModulus(key.q, random);
  const Modulus mod = MakeModulus(key.p);
  const Number512 cofactor = Cofactor(key.p, key.q);
  const Number512 one = FromSmall(1);
  for (uint32_t h = 2;; ++h) {
    key.g = ModPow(FromSmall(h), cofactor, mod);
    if (key.g != one) break;
  }
  key.x = RandomBelow(key.q, random);
  return key;
}

Number512 PublicValue(const PrivateKey& key) {
  return ModPow(key.g, key.x, MakeModulus(key.p));
}

std::string FormatPrivateKey(const PrivateKey& key) {
  std::ostringstream out;
  out << "# zepbase private signing key. It signs demo and test bases only;\n"
      << "# a real deployment generates its own key and rebuilds the scanner.\n"
      << "identifier=" << key.identifier << "\n"
      << "p=" << ToHex(key.p) << "\n"
      << "q=" << ToHex(key.q) << "\n"
      << "g=" << ToHex(key.g) << "\n"
      << "x=" << ToHex(key.x) << "\n";
  return out.str();
}

std::string ParsePrivateKey(const std::string& text, PrivateKey& key) {
  std::istringstream in(text);
  std::string line;
  int seen = 0;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const size_t eq = line.find('=');
    if (eq == std::string::npos) return "line without '=': " + line;
    const std::string name = line.substr(0, eq);
    const std::string value = line.substr(eq + 1);
    Number512* target = nullptr;
    if (name == "identifier") {
      key.identifier = value;
      seen |= 1;
      continue;
    }
    if (name == "p")
      target = &key.p, seen |= 2;
    else if (name == "q")
      target = &key.q, seen |= 4;
    else if (name == "g")
      target = &key.g, seen |= 8;
    else if (name == "x")
      target = &key.x, seen |= 16;
    else
      return "unknown entry: " + name;
    if (!FromHex(value, *target)) return "not a hexadecimal number: " + name;
  }
  if (seen != 31) return "missing entries (identifier, p, q, g and x are needed)";
  if (key.identifier.size() != scanner::kKeyIdLength) return "the identifier must be 24 bytes";
  if (BitLength(key.p) != kModulusBits || (key.p[0] & 1) == 0)
    return "p is not a 512-bit odd number";
  if (BitLength(key.q) > kSubgroupBits || (key.q[0] & 1) == 0)
    return "q is not an odd number of at most 144 bits";
  if (IsZero(key.x) || CompareNumbers(key.x, key.q) >= 0) return "x is not in [1, q - 1]";
  const Modulus mod = MakeModulus(key.p);
  if (CompareNumbers(key.g, key.p) >= 0 || key.g == FromSmall(1) ||
      ModPow(key.g, key.q, mod) != FromSmall(1))
    return "g does not have order q";
  return {};
}

std::vector<uint8_t> PublicKeyStructure(const PrivateKey& key) {
  const Modulus mod = MakeModulus(key.p);
  std::vector<uint8_t> s;
  AppendLe(s, 0, 4);  // checksum, filled below
  AppendLe(s, 0, 2);  // total length, filled below
  AppendLe(s, scanner::kKeyMaxVersion, 4);
  AppendLe(s, static_cast<uint32_t>(key.identifier.size()), 2);
  s.insert(s.end(), key.identifier.begin(), key.identifier.end());
  Number512 y = ToMontgomery(PublicValue(key), mod);
  for (size_t k = 0; k < scanner::kKeyNumberCount; ++k) {
    AppendNumber(s, y);
    y = SquareTimes(y, 24, mod);
  }
  // The length field tells the structure's real size, so an identifier of
  // another length still gives a structure that parses.
  s[scanner::kKeyLengthOffset] = static_cast<uint8_t>(s.size());
  s[scanner::kKeyLengthOffset + 1] = static_cast<uint8_t>(s.size() >> 8);
  const uint32_t sum = scanner::KeyChecksum(s);
  for (int i = 0; i < 4; ++i) s[i] = static_cast<uint8_t>(sum >> (8 * i));
  return s;
}

scanner::GroupParameters PublicGroup(const PrivateKey& key, std::vector<uint8_t>& table) {
  const Modulus mod = MakeModulus(key.p);
  table.clear();
  Number512 base = ToMontgomery(key.g, mod);  // g^(2^(24k)) for k = 0, 1, ...
  for (size_t k = 0; k < scanner::kPowerPieces; ++k) {
    const Number512 square = MontgomeryProduct(base, base, mod.m);
    Number512 power = base;
    for (size_t j = 0; j < scanner::kPowersPerPiece; ++j) {
      AppendNumber(table, power);
      power = MontgomeryProduct(power, square, mod.m);
    }
    base = SquareTimes(base, 24, mod);
  }
  scanner::GroupParameters group;
  group.modulus = mod.m;
  group.montgomeryOne = mod.one;
  group.powersOfG = table;
  return group;
}

std::string BuiltinKeySource(const PrivateKey& key) {
  std::vector<uint8_t> table;
  const scanner::GroupParameters group = PublicGroup(key, table);
  const std::vector<uint8_t> structure = PublicKeyStructure(key);
  const auto modulus = scanner::Number512ToBytes(group.modulus.p);
  const auto one = scanner::Number512ToBytes(group.montgomeryOne);
  char n0[16];
  std::snprintf(n0, sizeof n0, "0x%04x", group.modulus.n0);

  std::string out;
  out +=
      "// The project's public verification key and its group; generated by \"zepbase keygen\".\n";
  out += "#include \"scanner/virusbase/BuiltinKey.h\"\n\n";
  out += "namespace scanner::builtin {\n\n";
  out += "// Identifier \"" + key.identifier + "\".\n";
  out += "const uint8_t kKey[228] = {" + ByteArray(structure.data(), structure.size()) + "};\n\n";
  out += "const uint8_t kModulus[64] = {" + ByteArray(modulus.data(), modulus.size()) + "};\n\n";
  out += std::string("const uint16_t kMontgomeryN0 = ") + n0 + ";\n\n";
  out += "const uint8_t kMontgomeryOne[64] = {" + ByteArray(one.data(), one.size()) + "};\n\n";
  out +=
      "const uint8_t kPowersOfG[6 * 8 * 64] = {" + ByteArray(table.data(), table.size()) + "};\n\n";
  out += "}  // namespace scanner::builtin\n";
  return out;
}

}  // namespace zepbase
