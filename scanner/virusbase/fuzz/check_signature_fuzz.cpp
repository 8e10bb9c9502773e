// Fuzz target: the signature check over arbitrary file bytes.
#include <cstddef>
#include <cstdint>

#include "scanner/virusbase/CheckSignature.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  scanner::CheckSignature(std::span<const uint8_t>(data, size));
  return 0;
}
