// The kernels of Rijndael-128 and Rijndael-256 on the processor's AES instructions.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cipher::x86 {

// Each behaves as the RijndaelKernels member of the same name (see
// RijndaelKernels.h); they exist only in x86 builds and run only where the
// processor offers AES, SSSE3 and SSE4.1.
void Aes128Expand(const uint8_t* key, uint32_t* enc, uint32_t* dec);
void Aes128Encrypt(const uint8_t* in, uint8_t* out, size_t blocks, const uint32_t* rk);
void Aes128Decrypt(const uint8_t* in, uint8_t* out, size_t blocks, const uint32_t* rk);
void Aes256Expand(const uint8_t* key, uint32_t* enc, uint32_t* dec);
void Aes256Encrypt(const uint8_t* in, uint8_t* out, size_t blocks, const uint32_t* rk);
void Aes256Decrypt(const uint8_t* in, uint8_t* out, size_t blocks, const uint32_t* rk);

}  // namespace cipher::x86
