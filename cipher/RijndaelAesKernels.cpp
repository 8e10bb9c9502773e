// The table of Rijndael kernels on the processor's AES instructions (x86 builds only).
#include "cipher/RijndaelAes.h"
#include "cipher/RijndaelKernels.h"
#include "cipher/X86Kernels.h"

namespace cipher {

const RijndaelKernels* AesRijndaelKernels() {
#ifdef CIPHER_X86_KERNELS
  static constexpr RijndaelKernels kKernels{
      x86::Aes128Expand,  x86::Aes256Expand,  x86::Aes128Encrypt,
      x86::Aes128Decrypt, x86::Aes256Encrypt, x86::Aes256Decrypt,
  };
  return &kKernels;
#else
  return nullptr;
#endif
}

}  // namespace cipher
