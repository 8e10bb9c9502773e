// Little-endian word access and rotations shared by the ciphers.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace cipher {

// LoadLe32: the little-endian 32-bit word at p (any alignment).
inline uint32_t LoadLe32(const uint8_t* p) {
  // Spelled byte by byte so that any host reads the stored order; compilers
  // fold this into one load on little-endian machines.
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// StoreLe32: writes w at p as a little-endian word (any alignment).
inline void StoreLe32(uint8_t* p, uint32_t w) {
  p[0] = static_cast<uint8_t>(w);
  p[1] = static_cast<uint8_t>(w >> 8);
  p[2] = static_cast<uint8_t>(w >> 16);
  p[3] = static_cast<uint8_t>(w >> 24);
}

// LoadLe32Words: fills words from the little-endian words stored at p.
template <size_t N>
inline void LoadLe32Words(const uint8_t* p, uint32_t (&words)[N]) {
  for (size_t n = 0; n < N; ++n) words[n] = LoadLe32(p + 4 * n);
}

// StoreLe32Words: writes words at p as little-endian words.
template <size_t N>
inline void StoreLe32Words(uint8_t* p, const uint32_t (&words)[N]) {
  for (size_t n = 0; n < N; ++n) StoreLe32(p + 4 * n, words[n]);
}

// RotL / RotR: rotation by the low five bits of n, as the RC ciphers define it.
inline constexpr uint32_t RotL(uint32_t x, uint32_t n) {
  return std::rotl(x, static_cast<int>(n & 31));
}
inline constexpr uint32_t RotR(uint32_t x, uint32_t n) {
  return std::rotr(x, static_cast<int>(n & 31));
}

// The published magic constants of the RC5 and RC6 key expansions.
inline constexpr uint32_t kP32 = 0xB7E15163;
inline constexpr uint32_t kQ32 = 0x9E3779B9;

}  // namespace cipher
