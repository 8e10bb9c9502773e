// Bit packing of the 6-bit text coding.
#include "scanner/virusbase/SixBitCode.h"

namespace scanner {
namespace {

int SixBitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  if (c >= 'a' && c <= 'z') return c - 'a' + 36;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::vector<uint8_t> DecodeSixBit(std::string_view text, size_t maxBytes) {
  std::vector<uint8_t> out;
  uint32_t pending = 0;
  int bits = 0;
  for (char c : text) {
    const int v = SixBitValue(c);
    if (v < 0) break;
    pending |= static_cast<uint32_t>(v) << bits;
    bits += 6;
    if (bits >= 8) {
      if (out.size() == maxBytes) break;
      out.push_back(static_cast<uint8_t>(pending));
      pending >>= 8;
      bits -= 8;
    }
  }
  return out;
}

std::string EncodeSixBit(std::span<const uint8_t> bytes) {
  std::string out;
  uint32_t pending = 0;
  int bits = 0;
  for (uint8_t b : bytes) {
    pending |= uint32_t{b} << bits;
    bits += 8;
    while (bits >= 6) {
      out.push_back(kSixBitAlphabet[pending & 63]);
      pending >>= 6;
      bits -= 6;
    }
  }
  if (bits > 0) out.push_back(kSixBitAlphabet[pending & 63]);
  return out;
}

}  // namespace scanner
