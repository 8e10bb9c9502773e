// RC6-32/20/32 with this library's own key schedule: the RC6_ exports.
#pragma once

#include <cstdint>

namespace cipher {

struct CipherEngine;

inline constexpr int kRc6Rounds = 20;
inline constexpr int kRc6KeyWords = 2 * kRc6Rounds + 4;  // S[0..43]
inline constexpr uint32_t kRc6KeyBytes = 32;
inline constexpr uint32_t kRc6BlockBytes = 16;

// Rc6Key: the expanded key as stored in the caller's buffer, little-endian
// words at any alignment.
struct Rc6Key {
  uint8_t s[kRc6KeyWords][4];
};
static_assert(sizeof(Rc6Key) == 176);

// Rc6CreateKey: expands the first 32 key bytes (zero-padded) into keyObject
// and returns 176. Unlike the published schedule, after the first pass the
// indices skip S[0] and L[0] (i = i mod 43 + 1, j = j mod 7 + 1); stored
// containers depend on that, so published RC6 vectors do not hold for it.
int Rc6CreateKey(const uint8_t* key, uint32_t length, uint8_t* keyObject);

// Rc6Encrypt / Rc6Decrypt: each whole 16-byte block of data in place (blocks
// independent); trailing bytes stay untouched. Return length rounded down to
// a multiple of 16. keyObject is only read. The forms without an engine use
// ActiveEngine(); every engine gives the same bytes.
int Rc6Encrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject);
int Rc6Decrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject);
int Rc6Encrypt(const CipherEngine& engine, uint8_t* data, uint32_t length,
               const uint8_t* keyObject);
int Rc6Decrypt(const CipherEngine& engine, uint8_t* data, uint32_t length,
               const uint8_t* keyObject);

}  // namespace cipher
