// Fuzz target: the mask test over arbitrary names and masks.
#include <cstddef>
#include <cstdint>
#include <string>

#include "scanner/walker/MatchMask.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte splits the rest into a mask and a name of UTF-16 units.
  if (size < 1) return 0;
  std::u16string units;
  for (size_t i = 1; i + 1 < size; i += 2)
    units.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  const size_t split = units.empty() ? 0 : data[0] % (units.size() + 1);
  const std::u16string_view mask(units.data(), split);
  const std::u16string_view name(units.data() + split, units.size() - split);
  const bool matched = scanner::MatchMask(name, mask);
  // A lone star matches every name, and every mask matches an empty name only
  // when it is empty or starts with a star.
  if (mask == u"*" && !matched) __builtin_trap();
  if (name.empty() && matched != (mask.empty() || mask[0] == u'*')) __builtin_trap();
  return 0;
}
