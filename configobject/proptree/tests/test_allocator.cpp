// Installs the counting pair before any test runs, so leaks show in LiveBlocks.
#include <atomic>
#include <cstdlib>

#include "configobject/proptree/Allocation.h"
#include "configobject/proptree/tests/TestAllocator.h"

namespace proptree::test {
namespace {

std::atomic<long> g_live{0};

const bool kInstalled = SetAllocationPair(&CountingAllocate, &CountingRelease) == 0;

}  // namespace

void* CountingAllocate(size_t size) {
  void* p = std::malloc(size);
  if (p != nullptr) ++g_live;
  return p;
}

void CountingRelease(void* block) {
  if (block != nullptr) --g_live;
  std::free(block);
}

long LiveBlocks() {
  return kInstalled ? g_live.load() : -1;
}

}  // namespace proptree::test
