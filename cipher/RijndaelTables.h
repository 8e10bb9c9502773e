// The Rijndael S-boxes and the round tables of the forward and inverse cipher.
#pragma once

#include <cstdint>

namespace cipher {

// RijndaelTables: the tables of the standard, built at compile time. State
// columns are little-endian words (row 0 in the low byte), so te[0][x] is the
// MixColumns image of S(x) in row 0, and te[r] is te[0] rotated left by 8r
// bits; td likewise for InvMixColumns of the inverse S-box.
struct RijndaelTables {
  uint8_t sbox[256];
  uint8_t invSbox[256];
  uint32_t te[4][256];
  uint32_t td[4][256];
};

// kRijndaelTables: read-only, initialised before any code runs.
extern const RijndaelTables kRijndaelTables;

}  // namespace cipher
