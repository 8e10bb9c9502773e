// The table of scalar RC5 and RC6 kernels.
#include "cipher/RcKernels.h"

namespace cipher {

const RcKernels& ScalarRcKernels() {
  static constexpr RcKernels kKernels{Rc5EncryptBlocks, Rc5DecryptBlocks, Rc6EncryptBlocks,
                                      Rc6DecryptBlocks};
  return kKernels;
}

}  // namespace cipher
