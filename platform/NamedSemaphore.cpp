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

Semaphore Failed(uint32_t code) {
  SetLastError(code);
  return Semaphore();
}

uint32_t Result(uint32_t code) {
  SetLastError(code);
  return code;
}

}  // namespace

Semaphore CreateSemaphore(std::string_view name, int32_t initial, int32_t maximum) {
  if (maximum < 1 || initial < 0 || initial > maximum) return Failed(ERROR_INVALID_PARAMETER);
  if (name.find('\0') != std::string_view::npos) return Failed(ERROR_INVALID_NAME);
  Semaphore s;
  if (name.empty()) {
    s.block_ = new SemaphoreBlock;
    InitBlock(s.block_, initial, maximum);
    SetLastError(ERROR_SUCCESS);
    return s;
  }
  const std::string segment = EventSegmentName(name);
  const SegmentKind kind{
      [&](void* p) { InitBlock(static_cast<SemaphoreBlock*>(p), initial, maximum); },
      IsSemaphoreBlock};
  SegmentHold hold;
  const uint32_t r = OpenSharedSegment(segment, SegmentDisposition::CreateOrOpen, kind, hold);
  if (r != ERROR_SUCCESS) return Failed(r);
  s.fd_ = hold.fd;
  s.block_ = static_cast<SemaphoreBlock*>(hold.block);
  s.name_ = std::string(name);
  s.segment_ = segment;
  s.owner_ = hold.owner;
  SetLastError(hold.created ? ERROR_SUCCESS : ERROR_ALREADY_EXISTS);
  return s;
}

Semaphore OpenSemaphore(std::string_view name) {
  if (name.empty() || name.find('\0') != std::string_view::npos) return Failed(ERROR_INVALID_NAME);
  const std::string segment = EventSegmentName(name);
  SegmentHold hold;
  const uint32_t r =
      OpenSharedSegment(segment, SegmentDisposition::OpenOnly, {{}, IsSemaphoreBlock}, hold);
  if (r != ERROR_SUCCESS) return Failed(r);
  Semaphore s;
  s.fd_ = hold.fd;
  s.block_ = static_cast<SemaphoreBlock*>(hold.block);
  s.name_ = std::string(name);
  s.segment_ = segment;
  s.owner_ = hold.owner;
  SetLastError(ERROR_SUCCESS);
  return s;
}

Semaphore::Semaphore(Semaphore&& other) noexcept
    : block_(other.block_),
      fd_(other.fd_),
      name_(std::move(other.name_)),
      segment_(std::move(other.segment_)),
      owner_(other.owner_) {
  other.block_ = nullptr;
  other.fd_ = -1;
}

Semaphore& Semaphore::operator=(Semaphore&& other) noexcept {
  if (this != &other) {
    Close();
    block_ = other.block_;
    fd_ = other.fd_;
    name_ = std::move(other.name_);
    segment_ = std::move(other.segment_);
    owner_ = other.owner_;
    other.block_ = nullptr;
    other.fd_ = -1;
  }
  return *this;
}

Semaphore::~Semaphore() {
  Close();
}

uint32_t Semaphore::Release(int32_t count, int32_t* previous) {
  if (!block_) return Result(ERROR_INVALID_HANDLE);
  if (count < 1) return Result(ERROR_INVALID_PARAMETER);
  SemaphoreBlock* b = block_;
  int32_t seen = b->count.load();
  do {
    if (seen > b->maximum - count) return Result(ERROR_TOO_MANY_POSTS);
  } while (!b->count.compare_exchange_weak(seen, seen + count));
  if (previous) *previous = seen;
  FutexWake(b->count, count);
  return Result(ERROR_SUCCESS);
}

uint32_t Semaphore::Wait(uint32_t timeoutMs) const {
  if (!block_) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  SemaphoreBlock* b = block_;
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
  if (!block_) return;
  if (fd_ < 0) {
    delete block_;
  } else {
    CloseSharedSegment(fd_, block_, segment_, owner_);
  }
  block_ = nullptr;
  fd_ = -1;
  name_.clear();
  segment_.clear();
}

}  // namespace platform
