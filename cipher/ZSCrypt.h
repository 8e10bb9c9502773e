/* ZSCrypt: the cipher library's C interface, fifteen functions exported by name. */
#ifndef ZSCRYPT_H
#define ZSCRYPT_H

#include <stdint.h>

/* ZSCRYPT_API marks the exports; everything else in the library is hidden. */
#define ZSCRYPT_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Every function takes (bytes, length, bytes) and returns an int. A key
 * object is a caller-owned buffer (callers in the suite pass 1024 bytes, which
 * holds any cipher's object); the library allocates nothing and keeps no state
 * of its own. CreateKey(key, keyLength, keyObject) fills the key object;
 * Encrypt/Decrypt(data, length, keyObject) work on data in place, each block
 * independently (no chaining, no initial vector).
 */

/* ZSCryptFunction: the shape of every export, for lookup by name. */
typedef int (*ZSCryptFunction)(uint8_t*, uint32_t, uint8_t*);

/*
 * RC4_CreateKey: schedules all keyLength key bytes (bytes past the 256th take
 * no part) into a 258-byte key object (S, then i, then j, both 0); returns
 * 258. A keyLength of 0 returns 0 and leaves the key object untouched.
 */
ZSCRYPT_API int RC4_CreateKey(uint8_t* key, uint32_t keyLength, uint8_t* keyObject);
/*
 * RC4_Encrypt: XORs length bytes with the keystream and advances the key
 * object, so successive calls continue one keystream; returns length.
 * RC4_Decrypt: the same operation.
 */
ZSCRYPT_API int RC4_Encrypt(uint8_t* data, uint32_t length, uint8_t* keyObject);
ZSCRYPT_API int RC4_Decrypt(uint8_t* data, uint32_t length, uint8_t* keyObject);

/*
 * RC5_CreateKey: RC5-32/12/16 key expansion of the first 16 key bytes
 * (zero-padded, always four key words) into 26 little-endian words (104
 * bytes); returns 26.
 */
ZSCRYPT_API int RC5_CreateKey(uint8_t* key, uint32_t keyLength, uint8_t* keyObject);
/*
 * RC5_Encrypt / RC5_Decrypt: each whole 8-byte block; trailing bytes are left
 * untouched. Return length less its remainder modulo 8.
 */
ZSCRYPT_API int RC5_Encrypt(uint8_t* data, uint32_t length, uint8_t* keyObject);
ZSCRYPT_API int RC5_Decrypt(uint8_t* data, uint32_t length, uint8_t* keyObject);

/*
 * RC6_CreateKey: RC6-32/20/32 key expansion of the first 32 key bytes
 * (zero-padded) into 44 little-endian words (176 bytes); returns 176. After
 * the first pass the mixing skips S[0] and L[0], so the schedule differs from
 * the published one and so do its ciphertexts.
 */
ZSCRYPT_API int RC6_CreateKey(uint8_t* key, uint32_t keyLength, uint8_t* keyObject);
/*
 * RC6_Encrypt / RC6_Decrypt: each whole 16-byte block; trailing bytes are
 * left untouched. Return length less its remainder modulo 16.
 */
ZSCRYPT_API int RC6_Encrypt(uint8_t* data, uint32_t length, uint8_t* keyObject);
ZSCRYPT_API int RC6_Decrypt(uint8_t* data, uint32_t length, uint8_t* keyObject);

/*
 * RJ128_CreateKey / RJ256_CreateKey: Rijndael with 128-bit block and key, 10
 * rounds (AES-128) / 256-bit block and key, 14 rounds. The key object starts
 * at the first 4-aligned address of the buffer and needs at most 531 / 979
 * bytes. Takes the first 16 / 32 key bytes (zero-padded); returns the number
 * taken, the smaller of keyLength and 16 / 32. Returns 0 and writes nothing
 * when keyObject is null, or key is null with a keyLength other than 0.
 */
ZSCRYPT_API int RJ128_CreateKey(uint8_t* key, uint32_t keyLength, uint8_t* keyObject);
ZSCRYPT_API int RJ256_CreateKey(uint8_t* key, uint32_t keyLength, uint8_t* keyObject);
/*
 * RJ128_Encrypt / RJ256_Encrypt: 1 to 512 bytes in 16 / 32-byte blocks; a
 * trailing partial block is enciphered zero-padded and only its first bytes
 * are written back (it cannot be deciphered later). Return length, or 0 with
 * data unchanged for a null pointer, a length of 0 or above 512, or a key
 * object not made by the same cipher's CreateKey. No byte past length is read
 * or written; data need not be aligned; the key object is only read.
 * RJ128_Decrypt / RJ256_Decrypt: the inverse, which also returns 0 with data
 * unchanged when length is not a whole number of blocks.
 */
ZSCRYPT_API int RJ128_Encrypt(uint8_t* data, uint32_t length, uint8_t* keyObject);
ZSCRYPT_API int RJ128_Decrypt(uint8_t* data, uint32_t length, uint8_t* keyObject);
ZSCRYPT_API int RJ256_Encrypt(uint8_t* data, uint32_t length, uint8_t* keyObject);
ZSCRYPT_API int RJ256_Decrypt(uint8_t* data, uint32_t length, uint8_t* keyObject);

#ifdef __cplusplus
}
#endif

#endif /* ZSCRYPT_H */
