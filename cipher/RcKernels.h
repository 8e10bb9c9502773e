// The implementations of the RC5 and RC6 block work over runs of blocks.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cipher {

// RcKernels: one implementation of RC5 and RC6 on `blocks` whole blocks of
// data in place (8 bytes for RC5, 16 for RC6, little-endian words, each block
// alone), with the expanded key words s (26 for RC5, 44 for RC6). data may be
// unaligned. Every implementation gives the same bytes.
struct RcKernels {
  void (*rc5Encrypt)(uint8_t* data, size_t blocks, const uint32_t* s);
  void (*rc5Decrypt)(uint8_t* data, size_t blocks, const uint32_t* s);
  void (*rc6Encrypt)(uint8_t* data, size_t blocks, const uint32_t* s);
  void (*rc6Decrypt)(uint8_t* data, size_t blocks, const uint32_t* s);
};

// ScalarRcKernels: one block after another, in plain C++ for any processor.
const RcKernels& ScalarRcKernels();

// Avx2RcKernels: eight or sixteen blocks side by side in 256-bit vectors;
// null when this build has no such code (not an x86 target). Call it only
// where the processor offers AVX2.
const RcKernels* Avx2RcKernels();

// The scalar kernels one by one, which the vector kernels use for the blocks
// left over after their last full group.
void Rc5EncryptBlocks(uint8_t* data, size_t blocks, const uint32_t* s);
void Rc5DecryptBlocks(uint8_t* data, size_t blocks, const uint32_t* s);
void Rc6EncryptBlocks(uint8_t* data, size_t blocks, const uint32_t* s);
void Rc6DecryptBlocks(uint8_t* data, size_t blocks, const uint32_t* s);

}  // namespace cipher
