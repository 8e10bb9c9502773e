// Loads ZSCrypt.dll for the tests and small helpers for their data.
#include "cipher/tests/ZSCryptLibrary.h"

#include <cstdlib>

namespace cipher::test {

std::string BinFolder() {
  const char* bin = std::getenv("SUITE_BIN");
  return bin ? bin : platform::ProgramFolder() + "/../bin";
}

std::string SourceFile(const std::string& relative) {
  const char* source = std::getenv("SUITE_SOURCE");
  return std::string(source ? source : CIPHER_SOURCE_ROOT) + "/" + relative;
}

const platform::Module& Library() {
  static const platform::Module module = [] {
    platform::Module m;
    m.Load("ZSCrypt.dll", {BinFolder()});
    return m;
  }();
  return module;
}

CipherFunctions Cipher(const std::string& prefix) {
  const auto& m = Library();
  return {m.Function<ZSCryptFunction>((prefix + "CreateKey").c_str()),
          m.Function<ZSCryptFunction>((prefix + "Encrypt").c_str()),
          m.Function<ZSCryptFunction>((prefix + "Decrypt").c_str())};
}

std::vector<uint8_t> Hex(const std::string& text) {
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::vector<uint8_t> bytes;
  for (size_t n = 0; n + 1 < text.size(); n += 2) {
    const int hi = nibble(text[n]), lo = nibble(text[n + 1]);
    if (hi < 0 || lo < 0) return {};
    bytes.push_back(static_cast<uint8_t>(hi << 4 | lo));
  }
  return bytes;
}

std::vector<uint8_t> Pattern(size_t count, uint8_t seed) {
  std::vector<uint8_t> bytes(count);
  for (size_t n = 0; n < count; ++n) bytes[n] = static_cast<uint8_t>(seed * 13 + 31 * n + (n >> 5));
  return bytes;
}

std::string ToHex(const std::vector<uint8_t>& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (uint8_t b : bytes) {
    text += digits[b >> 4];
    text += digits[b & 15];
  }
  return text;
}

}  // namespace cipher::test
