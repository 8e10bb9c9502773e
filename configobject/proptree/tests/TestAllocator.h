// A counting allocation pair installed for every proptree test.
#pragma once

#include <cstddef>

namespace proptree::test {

// LiveBlocks: blocks allocated through the pair and not yet released.
long LiveBlocks();

void* CountingAllocate(size_t size);
void CountingRelease(void* block);

}  // namespace proptree::test
