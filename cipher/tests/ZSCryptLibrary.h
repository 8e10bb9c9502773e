// Test access to the built ZSCrypt module through the platform loader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cipher/ZSCrypt.h"
#include "platform/Module.h"

namespace cipher::test {

// CipherFunctions: the three exports of one cipher prefix.
struct CipherFunctions {
  ZSCryptFunction createKey = nullptr;
  ZSCryptFunction encrypt = nullptr;
  ZSCryptFunction decrypt = nullptr;
};

// kPrefixes: the five cipher prefixes in export order.
inline const std::vector<std::string> kPrefixes = {"RC4_", "RC5_", "RC6_", "RJ128_", "RJ256_"};

// BinFolder: where the build puts ZSCrypt.so ($SUITE_BIN, else beside tests/).
std::string BinFolder();

// SourceFile: a path inside the repository ($SUITE_SOURCE, else the build's
// own notion of it).
std::string SourceFile(const std::string& relative);

// Library: ZSCrypt.dll loaded once for the test program; null functions when
// the module or a name is missing (tests then fail on the null).
const platform::Module& Library();

// Cipher: the three exports of a prefix such as "RJ128_".
CipherFunctions Cipher(const std::string& prefix);

// Hex / ToHex: bytes from a hex string and back.
std::vector<uint8_t> Hex(const std::string& text);
std::string ToHex(const std::vector<uint8_t>& bytes);

// Pattern: count bytes of a varied, repeatable pattern picked by seed.
std::vector<uint8_t> Pattern(size_t count, uint8_t seed);

// KeyObject: a 1024-byte key object buffer as the suite's callers use.
using KeyObject = std::vector<uint8_t>;
inline KeyObject NewKeyObject(uint8_t fill = 0) {
  return KeyObject(1024, fill);
}

}  // namespace cipher::test
