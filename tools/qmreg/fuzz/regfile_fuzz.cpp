// Fuzz target: the REGEDIT4 parser, for both store encodings.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/qmreg/RegFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (auto store : {platform::RegStore::Device, platform::RegStore::Desktop}) {
    qmreg::RegFile file;
    qmreg::RegFileError error;
    if (!qmreg::ParseRegFile(text, store, &file, &error) && error.message.empty()) __builtin_trap();
  }
  return 0;
}
