// Named shared-memory blocks that live while any process holds them, behind events and semaphores.
//
// Private to the platform library: only the named kernel objects use it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <type_traits>

namespace platform {

// kSharedSegmentSize: the bytes every segment holds and maps; its block sits at the start.
inline constexpr size_t kSharedSegmentSize = 4096;

// SegmentDisposition: whether a name that no live process holds is created
// afresh or reported missing.
enum class SegmentDisposition { CreateOrOpen, OpenOnly };

// SegmentKind: what one kind of object keeps in its segment. `initialise`
// writes a fresh block (only called for CreateOrOpen); `recognise` tells
// whether a live block belongs to this kind, so that kinds sharing the name
// space refuse each other's segments.
struct SegmentKind {
  std::function<void(void* block)> initialise;
  std::function<bool(const void* block)> recognise;
};

// SegmentHold: one handle's hold on an open segment.
struct SegmentHold {
  int fd = -1;            // keeps the shared holder lock while open
  void* block = nullptr;  // kSharedSegmentSize mapped bytes
  bool created = false;   // true when this open initialised the block
  int owner = 0;          // the process that opened it
};

// OpenSharedSegment: opens the host segment `segment` (or, for CreateOrOpen,
// creates it, and reinitialises one whose holders all died), maps it and
// registers this handle as a holder. Returns 0 with `out` filled; on failure
// a Win32 code (ERROR_FILE_NOT_FOUND for OpenOnly on a missing or
// holder-less name, which is then removed; ERROR_INVALID_HANDLE for a
// segment of another kind) and nothing is left open or locked. The caller
// owns `out` and ends it with CloseSharedSegment.
uint32_t OpenSharedSegment(const std::string& segment, SegmentDisposition disposition,
                           const SegmentKind& kind, SegmentHold& out);

// CloseSharedSegment: unmaps the block and closes the descriptor of a hold
// taken by OpenSharedSegment; the last holder anywhere also removes the name.
// A copy inherited through fork (owner is another process) only unmaps and
// closes, leaving the parent's locks alone.
void CloseSharedSegment(int fd, void* block, const std::string& segment, int owner);

// MonotonicDeadline: the CLOCK_MONOTONIC time timeoutMs milliseconds from now.
std::timespec MonotonicDeadline(uint32_t timeoutMs);

// FutexWaitWord: sleeps while the 32-bit word at `word` holds `expected`,
// until a wake or the absolute CLOCK_MONOTONIC `deadline` (none when null).
// Returns 0 when woken, else the errno value: EAGAIN (the word had already
// changed), EINTR, ETIMEDOUT or a real failure.
int FutexWaitWord(const void* word, uint32_t expected, const std::timespec* deadline);

// FutexWakeWord: wakes up to `count` sleepers on the word, in any process.
void FutexWakeWord(void* word, int count);

// FutexWait, FutexWake: the two calls above on a 32-bit atomic of a block.
template <typename Word>
int FutexWait(const std::atomic<Word>& word, std::type_identity_t<Word> expected,
              const std::timespec* deadline) {
  static_assert(sizeof(std::atomic<Word>) == 4 && std::atomic<Word>::is_always_lock_free);
  return FutexWaitWord(&word, static_cast<uint32_t>(expected), deadline);
}

template <typename Word>
void FutexWake(std::atomic<Word>& word, int count) {
  static_assert(sizeof(std::atomic<Word>) == 4 && std::atomic<Word>::is_always_lock_free);
  FutexWakeWord(&word, count);
}

}  // namespace platform
