// Rijndael-128 and Rijndael-256 behind the RJ128_ and RJ256_ exports.
#pragma once

#include <cstdint>

namespace cipher {

struct CipherEngine;

// kRijndaelMaxLength: the most bytes one Encrypt or Decrypt call takes (one
// sector of an encrypted folder); the work happens in a scratch area this big.
inline constexpr uint32_t kRijndaelMaxLength = 512;

// Rj128CreateKey / Rj256CreateKey: expands the first 16 / 32 key bytes
// (zero-padded) into the key object at the first 4-aligned address of
// keyObject, which must hold 531 / 979 bytes. Return the number of key bytes
// taken (the smaller of length and 16 / 32). Return 0 and write nothing when
// keyObject is null, or when key is null while length is not 0.
int Rj128CreateKey(const uint8_t* key, uint32_t length, uint8_t* keyObject);
int Rj256CreateKey(const uint8_t* key, uint32_t length, uint8_t* keyObject);

// Rj128Encrypt / Rj256Encrypt: enciphers 1 to 512 bytes of data in place,
// 16 / 32-byte blocks independently; a trailing partial block is enciphered
// padded with zeros and only its first bytes are written back, so it cannot be
// deciphered again. Return length, or 0 with data unchanged when data or
// keyObject is null, length is 0 or above 512, or the key object is not one
// made by the same cipher's CreateKey (magic, Nk, Nb, Nr). keyObject is only
// read; no byte of data past length is read or written.
int Rj128Encrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject);
int Rj256Encrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject);

// Rj128Decrypt / Rj256Decrypt: deciphers as Encrypt enciphers; besides
// Encrypt's refusals, a length that is not a whole number of blocks returns 0
// with data unchanged.
int Rj128Decrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject);
int Rj256Decrypt(uint8_t* data, uint32_t length, const uint8_t* keyObject);

// The same six functions on a given engine; the forms above use
// ActiveEngine(). Key objects and results are byte-identical on every
// engine, so an object made on one may be used on another.
int Rj128CreateKey(const CipherEngine& engine, const uint8_t* key, uint32_t length,
                   uint8_t* keyObject);
int Rj256CreateKey(const CipherEngine& engine, const uint8_t* key, uint32_t length,
                   uint8_t* keyObject);
int Rj128Encrypt(const CipherEngine& engine, uint8_t* data, uint32_t length,
                 const uint8_t* keyObject);
int Rj256Encrypt(const CipherEngine& engine, uint8_t* data, uint32_t length,
                 const uint8_t* keyObject);
int Rj128Decrypt(const CipherEngine& engine, uint8_t* data, uint32_t length,
                 const uint8_t* keyObject);
int Rj256Decrypt(const CipherEngine& engine, uint8_t* data, uint32_t length,
                 const uint8_t* keyObject);

}  // namespace cipher
