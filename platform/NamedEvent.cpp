// Events in POSIX shared memory, woken through a futex on a generation word.
//
// Waiting uses no lock that a process could die holding: the state is two
// atomic words and waiters sleep on a futex. (A process-shared condition
// variable was tried first; with this glibc a waiter killed inside
// pthread_cond_wait leaves the variable so that the next signaller blocks for
// ever, which would let a killed scanner wedge whoever resumes it.) The
// segment's lifetime, shared with named semaphores, is SharedSegment's, and
// the handles and names of both are SyncObjectHandle's.
#include "platform/NamedEvent.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <filesystem>
#include <new>
#include <type_traits>

#include "platform/Errors.h"
#include "platform/Home.h"
#include "platform/SharedSegment.h"

namespace platform {

// The shared state of one event; placed at the start of its segment.
struct EventBlock {
  std::atomic<uint32_t> magic;
  uint32_t version;
  uint32_t manualReset;
  std::atomic<uint32_t> signaled;
  std::atomic<uint32_t> generation;  // advanced by every Set; waiters sleep on it
  uint32_t reserved;
};

static_assert(std::atomic<uint32_t>::is_always_lock_free);
static_assert(sizeof(std::atomic<uint32_t>) == 4);
static_assert(sizeof(EventBlock) == 24);
static_assert(offsetof(EventBlock, magic) == 0);
static_assert(offsetof(EventBlock, version) == 4);
static_assert(offsetof(EventBlock, manualReset) == 8);
static_assert(offsetof(EventBlock, signaled) == 12);
static_assert(offsetof(EventBlock, generation) == 16);
static_assert(sizeof(EventBlock) <= kSharedSegmentSize);
static_assert(std::is_trivially_destructible_v<EventBlock>);

namespace {

constexpr uint32_t kMagic = 0x5645'4D51;  // "QMEV"
constexpr uint32_t kVersion = 1;

void WakeAll(EventBlock* b) {
  FutexWake(b->generation, INT_MAX);
}

uint64_t Fnv1a(std::string_view text) {
  uint64_t h = 0xCBF2'9CE4'8422'2325ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 0x0000'0100'0000'01B3ull;
  }
  return h;
}

std::string Hex(uint64_t v, int digits) {
  static const char kDigits[] = "0123456789abcdef";
  std::string s(static_cast<size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, v >>= 4) s[static_cast<size_t>(i)] = kDigits[v & 0xF];
  return s;
}

void InitBlock(EventBlock* b, EventReset reset, EventState initial) {
  new (b) EventBlock{};
  b->version = kVersion;
  b->manualReset = reset == EventReset::Manual ? 1 : 0;
  b->signaled.store(initial == EventState::Signaled ? 1 : 0);
  b->generation.store(0);
  b->magic.store(kMagic, std::memory_order_release);
}

bool IsEventBlock(const void* p) {
  const auto* b = static_cast<const EventBlock*>(p);
  return b->magic.load(std::memory_order_acquire) == kMagic && b->version == kVersion;
}

}  // namespace

std::string EventSegmentName(std::string_view name) {
  std::error_code ec;
  std::string home = std::filesystem::weakly_canonical(HomeFolder(), ec).string();
  if (ec) home = std::filesystem::path(HomeFolder()).lexically_normal().string();
  while (home.size() > 1 && home.back() == '/') home.pop_back();
  std::string out = "/qm-" + std::to_string(getuid()) + "-" + Hex(Fnv1a(home), 16) + "-";
  std::string escaped;
  for (unsigned char c : name) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '_' || c == '-' || c == '.';
    if (plain) {
      escaped += static_cast<char>(c);
    } else {
      escaped += '%';
      escaped += Hex(c, 2);
    }
  }
  // Host names are limited to 255 bytes; long event names keep a digest.
  if (escaped.size() > 180) escaped = escaped.substr(0, 140) + "~" + Hex(Fnv1a(name), 16);
  return out + escaped;
}

Event CreateEvent(std::string_view name, EventReset reset, EventState initial) {
  const SegmentKind kind{[=](void* p) { InitBlock(static_cast<EventBlock*>(p), reset, initial); },
                         IsEventBlock};
  Event e;
  e.handle_.Create(name, sizeof(EventBlock), kind);
  return e;
}

Event OpenEvent(std::string_view name) {
  Event e;
  e.handle_.Open(name, {{}, IsEventBlock});
  return e;
}

Event CreateEvent(EventReset reset, EventState initial) {
  return CreateEvent(std::string_view(), reset, initial);
}

Event::Event(Event&& other) noexcept = default;
Event& Event::operator=(Event&& other) noexcept = default;
Event::~Event() = default;

uint32_t Event::Set() {
  EventBlock* b = handle_.block<EventBlock>();
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return ERROR_INVALID_HANDLE;
  }
  b->signaled.store(1);
  b->generation.fetch_add(1);
  WakeAll(b);  // automatic events: the waiters race and one wins the reset
  return ERROR_SUCCESS;
}

uint32_t Event::Reset() {
  EventBlock* b = handle_.block<EventBlock>();
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return ERROR_INVALID_HANDLE;
  }
  b->signaled.store(0);
  return ERROR_SUCCESS;
}

uint32_t Event::Wait(uint32_t timeoutMs) const {
  EventBlock* b = handle_.block<EventBlock>();
  if (!b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  const bool manual = b->manualReset != 0;
  auto take = [&] {
    if (manual) return b->signaled.load() != 0;
    uint32_t expected = 1;
    return b->signaled.compare_exchange_strong(expected, 0);
  };
  std::timespec deadline{};
  if (timeoutMs != INFINITE) deadline = MonotonicDeadline(timeoutMs);
  for (;;) {
    const uint32_t seen = b->generation.load();
    if (take()) return WAIT_OBJECT_0;
    if (timeoutMs == 0) return WAIT_TIMEOUT;
    const int err = FutexWait(b->generation, seen, timeoutMs == INFINITE ? nullptr : &deadline);
    // A Set after we looked releases a manual-event waiter even when a Reset
    // followed at once, as Windows releases the threads waiting at the Set.
    if (manual && b->generation.load() != seen) return WAIT_OBJECT_0;
    if (err == ETIMEDOUT) return take() ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
    if (err != 0 && err != EAGAIN && err != EINTR) {
      SetLastError(Win32FromErrno(err));
      return WAIT_FAILED;
    }
  }
}

void Event::Close() {
  handle_.Close();
}

}  // namespace platform
