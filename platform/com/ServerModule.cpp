// A server module's lock count and the path of its own file.
#include "platform/com/ServerModule.h"

#include <dlfcn.h>

#include <atomic>
#include <filesystem>

namespace platform::com {
namespace {

std::atomic<int32_t> g_lockCount{0};

}  // namespace

void LockModule() {
  g_lockCount.fetch_add(1, std::memory_order_acq_rel);
}

bool UnlockModule() {
  int32_t count = g_lockCount.load(std::memory_order_acquire);
  while (count > 0) {
    if (g_lockCount.compare_exchange_weak(count, count - 1, std::memory_order_acq_rel)) return true;
  }
  return false;
}

int32_t ModuleLockCount() {
  return g_lockCount.load(std::memory_order_acquire);
}

std::string ModuleFileOf(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr || info.dli_fname[0] == 0) return {};
  std::error_code ec;
  auto path = std::filesystem::weakly_canonical(std::filesystem::absolute(info.dli_fname, ec), ec);
  if (ec) return {};
  return path.string();
}

}  // namespace platform::com
