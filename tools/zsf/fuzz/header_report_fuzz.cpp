// Fuzz target: the `zsf check` description of arbitrary header bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "tools/zsf/HeaderReport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  (void)zsf::DescribeHeader(bytes, size);
  (void)zsf::DescribeHeader(bytes.first(size < 52 ? size : 52), uint64_t{size} * 4096);
  return 0;
}
