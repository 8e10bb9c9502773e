// Right-to-left pattern search with the bad-character rule.
#pragma once

#include <cstdint>

namespace scanner {

// SearchPattern: the start of the first window of text at which pattern
// matches, or nullptr. Positions patternLength-1 down to 1 are compared,
// position 0 never, so a one-byte pattern matches at the first byte of any
// non-empty text. A zero-length pattern never matches and nothing is read.
// Allocates nothing; the skip table lives on the stack.
const uint8_t* SearchPattern(const uint8_t* text, uint32_t textLength, const uint8_t* pattern,
                             uint32_t patternLength);

}  // namespace scanner
