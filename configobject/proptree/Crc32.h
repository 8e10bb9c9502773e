// CRC-32 of the stored tree form (reflected 0xEDB88320, no final inversion).
#pragma once

#include <cstddef>
#include <cstdint>

namespace proptree {

inline constexpr uint32_t kCrcStart = 0xFFFFFFFF;

// Crc32Update: the running register after `size` more bytes; start from
// kCrcStart. The register is stored as it is, without a final inversion.
uint32_t Crc32Update(uint32_t crc, const uint8_t* bytes, size_t size);

}  // namespace proptree
