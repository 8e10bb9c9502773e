// A language library for the page tests: one caption in French, the others absent on purpose.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) const char16_t* QmLocString(uint32_t id) {
  return id == 30002 ? u"Conduite" : nullptr;
}
