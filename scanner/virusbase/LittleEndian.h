// Little-endian fields of base files and key structures, read from or appended to bytes.
#pragma once

#include <cstdint>
#include <vector>

namespace scanner {

// LoadLe16 / LoadLe32: the unsigned little-endian value at p (any alignment).
inline uint32_t LoadLe16(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8);
}
inline uint32_t LoadLe32(const uint8_t* p) {
  return LoadLe16(p) | (LoadLe16(p + 2) << 16);
}

// AppendLe: appends the low `bytes` bytes of v, least significant first.
inline void AppendLe(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace scanner
