// Fuzz target: registration scripts are untrusted text; parsing must never misbehave.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/RegScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  platform::com::RegScript script;
  std::string error;
  platform::com::ParseRegScript(text, {{"MODULE", "/opt/q/It's.so"}}, &script, &error);
  return 0;
}
