// The Rijndael key object layout and the two block/key sizes the library offers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cipher {

inline constexpr uint32_t kRijndaelMagic = 0x4C4D5347;  // "GSML" in memory

// RijndaelKey: the key object, placed at the first 4-aligned address of the
// caller's buffer. Round keys are native words holding state columns (row 0 in
// the low byte). The decryption keys are the encryption keys in the same
// order with InvMixColumns applied to rounds 1 .. Nr-1 (equivalent inverse
// cipher).
template <uint32_t AreaWords>
struct RijndaelKey {
  uint32_t magic;
  uint32_t nk;  // key length in words
  uint32_t nb;  // block length in words
  uint32_t nr;  // rounds
  uint32_t enc[AreaWords];
  uint32_t dec[AreaWords];
};

// Rijndael128: 128-bit block and key, 10 rounds (AES-128).
struct Rijndael128 {
  static constexpr uint32_t kNk = 4;
  static constexpr uint32_t kNb = 4;
  static constexpr uint32_t kNr = 10;
  static constexpr uint32_t kAreaWords = 64;
  static constexpr uint32_t kShift[4] = {0, 1, 2, 3};  // ShiftRows offset per row
  using Key = RijndaelKey<kAreaWords>;
};

// Rijndael256: 256-bit block and key, 14 rounds (the proposal, not AES).
struct Rijndael256 {
  static constexpr uint32_t kNk = 8;
  static constexpr uint32_t kNb = 8;
  static constexpr uint32_t kNr = 14;
  static constexpr uint32_t kAreaWords = 120;
  static constexpr uint32_t kShift[4] = {0, 1, 3, 4};
  using Key = RijndaelKey<kAreaWords>;
};

static_assert(offsetof(Rijndael128::Key, magic) == 0 && offsetof(Rijndael128::Key, nk) == 4);
static_assert(offsetof(Rijndael128::Key, nb) == 8 && offsetof(Rijndael128::Key, nr) == 12);
static_assert(offsetof(Rijndael128::Key, enc) == 16 && offsetof(Rijndael128::Key, dec) == 272);
static_assert(sizeof(Rijndael128::Key) == 528);
static_assert(offsetof(Rijndael256::Key, enc) == 16 && offsetof(Rijndael256::Key, dec) == 496);
static_assert(sizeof(Rijndael256::Key) == 976);
static_assert(Rijndael128::kNb * (Rijndael128::kNr + 1) <= Rijndael128::kAreaWords);
static_assert(Rijndael256::kNb * (Rijndael256::kNr + 1) <= Rijndael256::kAreaWords);

// A buffer start is moved up by at most 3 bytes to reach the object, so 531
// and 979 bytes always hold it (and the callers' 1024 bytes hold either).
static_assert(sizeof(Rijndael128::Key) + 3 == 531 && sizeof(Rijndael256::Key) + 3 == 979);

}  // namespace cipher
