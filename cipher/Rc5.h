// RC5-32/12/16: the block cipher behind the RC5_ exports.
#pragma once

#include <cstdint>

namespace cipher {

struct CipherEngine;

inline constexpr int kRc5Rounds = 12;
inline constexpr int kRc5KeyWords = 2 * kRc5Rounds + 2;  // S[0..25]
inline constexpr uint32_t kRc5KeyBytes = 16;
inline constexpr uint32_t kRc5BlockBytes = 8;

// Rc5Key: the expanded key as stored in the caller's buffer, little-endian
// words at any alignment (the code reads it byte-wise).
struct Rc5Key {
  uint8_t s[kRc5KeyWords][4];
};
static_assert(sizeof(Rc5Key) == 104);

// Rc5CreateKey: expands the first 16 key bytes (zero-padded) into keyObject,
// always as four key words; returns 26, the number of words written.
int Rc5CreateKey(const uint8_t* key, uint32_t length, uint8_t* keyObject);

// Rc5Encrypt / Rc5Decrypt: each whole 8-byte block of data in place (blocks
// independent); trailing bytes stay untouched. Return length rounded down to
// a multiple of 8. keyObject is only read. The forms without an engine use
// ActiveEngine(); every engine gives the same bytes.
int Rc5Encrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject);
int Rc5Decrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject);
int Rc5Encrypt(const CipherEngine& engine, uint8_t* data, uint32_t length,
               const uint8_t* keyObject);
int Rc5Decrypt(const CipherEngine& engine, uint8_t* data, uint32_t length,
               const uint8_t* keyObject);

}  // namespace cipher
