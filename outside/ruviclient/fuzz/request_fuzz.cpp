// Fuzz target: any bytes arriving on the control socket parse to a request or to nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "outside/ruviclient/ControlMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view message(reinterpret_cast<const char*>(data), size);
  const auto request = ruviclient::ParseControlRequest(message);
  if (request) {
    // Whatever parsed names a request that parses back to itself.
    const int number = ruviclient::CommandNumber(*request);
    if (number < 0 || number > 4) std::abort();
    if (ruviclient::ParseControlRequest(ruviclient::CommandName(*request)) != request) std::abort();
    if (size > 16) std::abort();
  }
  return 0;
}
