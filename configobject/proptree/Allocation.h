// The allocation pair that property trees, the stream reader and its filters use.
#pragma once

#include <cstddef>

namespace proptree {

using AllocateFn = void* (*)(size_t size);
using ReleaseFn = void (*)(void* block);

inline constexpr int kPairRefused = -1;

// SetAllocationPair: installs the functions all tree memory comes from. The
// pair is set once: returns 0 when it is installed or equal to the one in
// place, kPairRefused for a different pair (or a null function). Using the tree
// before any pair is set fixes the C library's malloc/free as the pair.
int SetAllocationPair(AllocateFn allocate, ReleaseFn release);

// Allocate: a block from the installed pair, or null.
void* Allocate(size_t size);
// Release: returns a block from Allocate; null is ignored.
void Release(void* block);

}  // namespace proptree
