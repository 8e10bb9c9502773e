// The two implementations of Rijndael's key expansion and block rounds.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cipher {

// RijndaelKernels: one implementation of the work behind the RJ128_ and RJ256_
// functions. Every implementation gives byte-identical key objects and blocks.
struct RijndaelKernels {
  // expand128 / expand256: from the whole (already zero-padded) 16 / 32-byte
  // key, writes the 44 / 120 used words of the encryption round keys to enc
  // and the matching decryption round keys (InvMixColumns on rounds 1 to
  // Nr - 1) to dec. enc and dec need only be 4-aligned; no other word is
  // touched.
  void (*expand128)(const uint8_t* key, uint32_t* enc, uint32_t* dec);
  void (*expand256)(const uint8_t* key, uint32_t* enc, uint32_t* dec);
  // encrypt128 ... decrypt256: `blocks` consecutive 16 / 32-byte blocks from
  // in to out, each alone (no chaining). in and out may be unaligned and may
  // be the same address; rk is the key object's enc area for encryption and
  // its dec area for decryption.
  void (*encrypt128)(const uint8_t* in, uint8_t* out, size_t blocks, const uint32_t* rk);
  void (*decrypt128)(const uint8_t* in, uint8_t* out, size_t blocks, const uint32_t* rk);
  void (*encrypt256)(const uint8_t* in, uint8_t* out, size_t blocks, const uint32_t* rk);
  void (*decrypt256)(const uint8_t* in, uint8_t* out, size_t blocks, const uint32_t* rk);
};

// TableRijndaelKernels: the portable implementation with the tables of the
// standard. Its memory accesses depend on key and data, which a process
// sharing the processor's caches can observe.
const RijndaelKernels& TableRijndaelKernels();

// AesRijndaelKernels: the implementation with the processor's AES
// instructions, which run in constant time; null when this build has no such
// code (not an x86 target). Call it only where the processor offers AES,
// SSSE3 and SSE4.1.
const RijndaelKernels* AesRijndaelKernels();

}  // namespace cipher
