// Bad-character search over one object.
#include "scanner/virusbase/SearchPattern.h"

namespace scanner {

const uint8_t* SearchPattern(const uint8_t* text, uint32_t textLength, const uint8_t* pattern,
                             uint32_t patternLength) {
  if (patternLength == 0 || textLength < patternLength) return nullptr;
  uint32_t skip[256] = {};
  for (uint32_t i = 0; i < patternLength; ++i) skip[pattern[i]] = i;

  const uint32_t last = patternLength - 1;
  const uint32_t lastStart = textLength - patternLength;
  if (last == 0) return text;
  uint32_t w = 0;
  for (;;) {
    const uint8_t* window = text + w;
    uint32_t i = last;
    while (pattern[i] == window[i]) {
      if (--i == 0) return window;
    }
    const uint32_t e = skip[window[i]];
    const uint32_t shift = e < i ? i - e : 1;
    if (shift > lastStart - w) return nullptr;
    w += shift;
  }
}

}  // namespace scanner
