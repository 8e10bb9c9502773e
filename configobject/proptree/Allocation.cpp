// The process-wide allocation pair, fixed at first use.
#include "configobject/proptree/Allocation.h"

#include <atomic>
#include <cstdlib>
#include <mutex>

namespace proptree {
namespace {

std::mutex g_lock;
AllocateFn g_allocate = nullptr;
ReleaseFn g_release = nullptr;
std::atomic<bool> g_fixed{false};

void FixDefault() {
  std::lock_guard<std::mutex> hold(g_lock);
  if (g_allocate == nullptr) {
    g_allocate = &std::malloc;
    g_release = &std::free;
  }
  g_fixed.store(true, std::memory_order_release);
}

}  // namespace

int SetAllocationPair(AllocateFn allocate, ReleaseFn release) {
  if (allocate == nullptr || release == nullptr) return kPairRefused;
  std::lock_guard<std::mutex> hold(g_lock);
  if (g_allocate != nullptr) {
    return (g_allocate == allocate && g_release == release) ? 0 : kPairRefused;
  }
  g_allocate = allocate;
  g_release = release;
  g_fixed.store(true, std::memory_order_release);
  return 0;
}

void* Allocate(size_t size) {
  if (!g_fixed.load(std::memory_order_acquire)) FixDefault();
  return g_allocate(size == 0 ? 1 : size);
}

void Release(void* block) {
  if (block == nullptr) return;
  if (!g_fixed.load(std::memory_order_acquire)) FixDefault();
  g_release(block);
}

}  // namespace proptree
