// Semaphores in POSIX shared memory, counted in one atomic word that waiters sleep on.
//
// A POSIX named semaphore (sem_open) would outlive a process killed while
// holding it and cannot tell how many handles are open, so it could not end
// with its last holder as a Windows semaphore does. The segments here live
// as the named events' do (see SharedSegment): the kernel counts the live
// holders, the last handle to close removes the name, and a segment whose
// holders all died is reinitialised by the next create or removed by the
// next open. Waiting takes no lock that a process could die holding.
#include "platform/NamedSemaphore.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <new>
#include <type_traits>

#include "platform/Errors.h"
#include "platform/SharedSegment.h"

namespace platform {

// The shared state of one semaphore; placed at the start of its segment. The
// first two words sit where an event keeps its own, so each kind refuses the
// other's segment.
struct SemaphoreBlock {
  std::atomic<uint32_t> magic;
  uint32_t version;
  int32_t maximum;
  std::atomic<int32_t> count;  // waiters sleep on it while it is zero
};

static_assert(std::atomic<int32_t>::is_always_lock_free);
static_assert(sizeof(std::atomic<int32_t>) == 4);
static_assert(sizeof(SemaphoreBlock) == 16);
static_assert(offsetof(SemaphoreBlock, magic) == 0);
static_assert(offsetof(SemaphoreBlock, version) == 4);
static_assert(offsetof(SemaphoreBlock, maximum) == 8);
static_assert(offsetof(SemaphoreBlock, count) == 12);
static_assert(sizeof(SemaphoreBlock) <= kSharedSegmentSize);
static_assert(std::is_trivially_destructible_v<SemaphoreBlock>);

namespace {

constexpr uint32_t kMagic = 0x4553'4D51;  // "QMSE"
constexpr uint32_t kVersion = 1;

void InitBlock(SemaphoreBlock* b, int32_t initial, int32_t maximum) {
  new (b) SemaphoreBlock{};
  b->version = kVersion;
  b->maximum = maximum;
  b->count.store(initial);
  b->magic.store(kMagic, std::memory_order_release);
}

bool IsSemaphoreBlock(const void* p) {
  const auto* b = static_cast<const SemaphoreBlock*>(p);
  return b->magic.load(std::memory_order_acquire) == kMagic && b->version == kVersion;
}

uint32_t Result(uint32_t code) {
  SetLastError(code);
  return code;
}

}  // namespace

Semaphore CreateSemaphore(std::string_view name, int32_t initial, int32_t maximum) {
  Semaphore s;
  if (maximum < 1 || initial < 0 || initial > maximum) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return s;
  }
  const SegmentKind kind{
      [=](void* p) { InitBlock(static_cast<SemaphoreBlock*>(p), initial, maximum); },
      IsSemaphoreBlock};
  s.handle_.Create(name, sizeof(SemaphoreBlock), kind);
  return s;
}

Semaphore OpenSemaphore(std::string_view name) {
  Semaphore s;
  s.handle_.Open(name, {{}, IsSemaphoreBlock});
  return s;
}

Semaphore::Semaphore(Semaphore&& other) noexcept = default;
Semaphore& Semaphore::operator=(Semaphore&& other) noexcept = default;
Semaphore::~Semaphore() = default;

uint32_t Semaphore::Release(int32_t count, int32_t* previous) {
  SemaphoreBlock* b = handle_.block<SemaphoreBlock>();
  if (!b) return Result(ERROR_INVALID_HANDLE);
  if (count < 1) return Result(ERROR_INVALID_PARAMETER);
  int32_t seen = b->count.load();
  do {
    if (seen > b->maximum - count) return Result(ERROR_TOO_MANY_POSTS);
  } while (!b->count.compare_exchange_weak(seen, seen + count));
  if (previous) *previous = seen;
  FutexWake(b->count, count);
  return Result(ERROR_SUCCESS);
}

uint32_t Semaphore::Wait(uint32_t timeoutMs) const {
  SemaphoreBlock* b = handle_.block<SemaphoreBlock>();
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  auto take = [b] {
    int32_t c = b->count.load();
    while (c > 0) {
      if (b->count.compare_exchange_weak(c, c - 1)) return true;
    }
    return false;
  };
  std::timespec deadline{};
  if (timeoutMs != INFINITE) deadline = MonotonicDeadline(timeoutMs);
  for (;;) {
    if (take()) return WAIT_OBJECT_0;
    if (timeoutMs == 0) return WAIT_TIMEOUT;
    // Sleeps only while the count is still zero; a release in between makes
    // the call return at once. The absolute CLOCK_MONOTONIC deadline keeps
    // early wake-ups and clock changes from stretching the time-out.
    const int err = FutexWait(b->count, 0, timeoutMs == INFINITE ? nullptr : &deadline);
    if (err == ETIMEDOUT) return take() ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
    if (err != 0 && err != EAGAIN && err != EINTR) {
      SetLastError(Win32FromErrno(err));
      return WAIT_FAILED;
    }
  }
}

void Semaphore::Close() {
  handle_.Close();
}

}  // namespace platform
