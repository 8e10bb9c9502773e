// Counting interrupts with the standard library's signal handling.
#include "scanner/zepscan/InterruptCount.h"

#include <atomic>
#include <csignal>

namespace zepscan {
namespace {

// Lock-free, so the handler may touch it.
std::atomic<int> gInterrupts{0};
static_assert(std::atomic<int>::is_always_lock_free);

void OnInterrupt(int signal) {
  gInterrupts.fetch_add(signal == SIGTERM ? 2 : 1);
}

}  // namespace

void CountInterrupts() {
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
}

int Interrupts() {
  return gInterrupts.load();
}

}  // namespace zepscan
