// Events in POSIX shared memory, woken through a futex on a generation word.
//
// Waiting uses no lock that a process could die holding: the state is two
// atomic words and waiters sleep on a futex. (A process-shared condition
// variable was tried first; with this glibc a waiter killed inside
// pthread_cond_wait leaves the variable so that the next signaller blocks for
// ever, which would let a killed scanner wedge whoever resumes it.)
//
// Lifetime: every handle holds a shared OFD lock on byte 1 of its segment, so
// the kernel counts the live holders and forgets a holder that dies. Creating,
// opening and closing are serialised by an exclusive lock on byte 0. The last
// handle to close unlinks the name; a segment whose holders all died is found
// holder-less by the next create (which reinitialises it) or open (which
// removes it and reports it missing). A handle that opened the name just
// before it was unlinked sees a link count of 0 and retries, so it never ends
// up on an orphan.
#include "platform/NamedEvent.h"

#include <fcntl.h>
#include <linux/futex.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <filesystem>
#include <new>

#include "platform/Errors.h"
#include "platform/Home.h"

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

namespace {

constexpr uint32_t kMagic = 0x5645'4D51;  // "QMEV"
constexpr uint32_t kVersion = 1;
constexpr size_t kSegmentSize = 4096;
constexpr off_t kGuardByte = 0;            // exclusive while creating, opening or closing
constexpr off_t kHolderByte = 1;           // shared by every open handle
constexpr uint32_t kRetry = 0xFFFF'FFFEu;  // the name was unlinked under us

// Uniform result of the host calls below: 0 or an errno value.
int LockByte(int fd, off_t byte, short type, bool wait) {
  struct flock fl {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = byte;
  fl.l_len = 1;
  for (;;) {
    if (fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) == 0) return 0;
    if (errno != EINTR) return errno;
  }
}

int Futex(std::atomic<uint32_t>* word, int op, uint32_t value, const timespec* deadline) {
  return static_cast<int>(syscall(SYS_futex, reinterpret_cast<uint32_t*>(word), op, value, deadline,
                                  nullptr, FUTEX_BITSET_MATCH_ANY));
}

void WakeAll(EventBlock* b) {
  Futex(&b->generation, FUTEX_WAKE, INT_MAX, nullptr);
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

enum class Disposition { CreateOrOpen, OpenOnly };

// OpenSegment: one attempt; 0 with fd and block set, kRetry, or a Win32 code.
uint32_t OpenSegment(const std::string& segment, Disposition disposition, EventReset reset,
                     EventState initial, int& fdOut, EventBlock*& blockOut, bool& created) {
  const int flags = O_RDWR | O_CLOEXEC | (disposition == Disposition::CreateOrOpen ? O_CREAT : 0);
  const int fd = shm_open(segment.c_str(), flags, 0600);
  if (fd < 0) return Win32FromErrno(errno);
  auto fail = [&](uint32_t code) {
    close(fd);
    return code;
  };
  if (int e = LockByte(fd, kGuardByte, F_WRLCK, true)) return fail(Win32FromErrno(e));
  struct stat st {};
  if (fstat(fd, &st) != 0) return fail(Win32FromErrno(errno));
  if (st.st_nlink == 0) {
    close(fd);
    return kRetry;  // unlinked by its last holder after we opened the name
  }
  // Taking the holder byte exclusively succeeds only when no handle is open.
  const bool live = LockByte(fd, kHolderByte, F_WRLCK, false) != 0;
  if (!live && disposition == Disposition::OpenOnly) {
    shm_unlink(segment.c_str());  // left by processes that all ended
    return fail(ERROR_FILE_NOT_FOUND);
  }
  if (!live && ftruncate(fd, kSegmentSize) != 0) return fail(Win32FromErrno(errno));
  if (live && st.st_size < static_cast<off_t>(kSegmentSize)) return fail(ERROR_INVALID_HANDLE);
  void* p = mmap(nullptr, kSegmentSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (p == MAP_FAILED) return fail(Win32FromErrno(errno));
  auto* block = static_cast<EventBlock*>(p);
  if (!live) {
    InitBlock(block, reset, initial);
  } else if (block->magic.load(std::memory_order_acquire) != kMagic || block->version != kVersion) {
    munmap(p, kSegmentSize);
    return fail(ERROR_INVALID_HANDLE);  // the name belongs to something else
  }
  if (int e = LockByte(fd, kHolderByte, F_RDLCK, false)) {
    munmap(p, kSegmentSize);
    return fail(Win32FromErrno(e));
  }
  LockByte(fd, kGuardByte, F_UNLCK, false);
  fdOut = fd;
  blockOut = block;
  created = !live;
  return ERROR_SUCCESS;
}

Event Failed(uint32_t code) {
  SetLastError(code);
  return Event();
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
  if (name.empty()) return CreateEvent(reset, initial);
  if (name.find('\0') != std::string_view::npos) return Failed(ERROR_INVALID_NAME);
  const std::string segment = EventSegmentName(name);
  for (;;) {
    Event e;
    bool created = false;
    const uint32_t r =
        OpenSegment(segment, Disposition::CreateOrOpen, reset, initial, e.fd_, e.block_, created);
    if (r == kRetry) continue;
    if (r != ERROR_SUCCESS) return Failed(r);
    e.name_ = std::string(name);
    e.segment_ = segment;
    e.owner_ = getpid();
    SetLastError(created ? ERROR_SUCCESS : ERROR_ALREADY_EXISTS);
    return e;
  }
}

Event OpenEvent(std::string_view name) {
  if (name.empty() || name.find('\0') != std::string_view::npos) return Failed(ERROR_INVALID_NAME);
  const std::string segment = EventSegmentName(name);
  for (;;) {
    Event e;
    bool created = false;
    const uint32_t r = OpenSegment(segment, Disposition::OpenOnly, EventReset::Manual,
                                   EventState::Nonsignaled, e.fd_, e.block_, created);
    if (r == kRetry) continue;
    if (r != ERROR_SUCCESS) return Failed(r);
    e.name_ = std::string(name);
    e.segment_ = segment;
    e.owner_ = getpid();
    SetLastError(ERROR_SUCCESS);
    return e;
  }
}

Event CreateEvent(EventReset reset, EventState initial) {
  Event e;
  e.block_ = new EventBlock;
  InitBlock(e.block_, reset, initial);
  SetLastError(ERROR_SUCCESS);
  return e;
}

Event::Event(Event&& other) noexcept
    : block_(other.block_),
      fd_(other.fd_),
      name_(std::move(other.name_)),
      segment_(std::move(other.segment_)),
      owner_(other.owner_) {
  other.block_ = nullptr;
  other.fd_ = -1;
}

Event& Event::operator=(Event&& other) noexcept {
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

Event::~Event() {
  Close();
}

uint32_t Event::Set() {
  if (!block_) {
    SetLastError(ERROR_INVALID_HANDLE);
    return ERROR_INVALID_HANDLE;
  }
  block_->signaled.store(1);
  block_->generation.fetch_add(1);
  WakeAll(block_);  // automatic events: the waiters race and one wins the reset
  return ERROR_SUCCESS;
}

uint32_t Event::Reset() {
  if (!block_) {
    SetLastError(ERROR_INVALID_HANDLE);
    return ERROR_INVALID_HANDLE;
  }
  block_->signaled.store(0);
  return ERROR_SUCCESS;
}

uint32_t Event::Wait(uint32_t timeoutMs) const {
  if (!block_) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  EventBlock* b = block_;
  const bool manual = b->manualReset != 0;
  auto take = [&] {
    if (manual) return b->signaled.load() != 0;
    uint32_t expected = 1;
    return b->signaled.compare_exchange_strong(expected, 0);
  };
  timespec deadline{};
  if (timeoutMs != INFINITE) {
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += timeoutMs / 1000;
    deadline.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1'000'000L;
    if (deadline.tv_nsec >= 1'000'000'000L) {
      deadline.tv_sec += 1;
      deadline.tv_nsec -= 1'000'000'000L;
    }
  }
  for (;;) {
    const uint32_t seen = b->generation.load();
    if (take()) return WAIT_OBJECT_0;
    if (timeoutMs == 0) return WAIT_TIMEOUT;
    // The bitset form takes an absolute CLOCK_MONOTONIC deadline, so clock
    // changes and early wake-ups never stretch or shorten the time-out.
    const int r =
        Futex(&b->generation, FUTEX_WAIT_BITSET, seen, timeoutMs == INFINITE ? nullptr : &deadline);
    const int err = r == 0 ? 0 : errno;
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
  if (!block_) return;
  if (fd_ < 0) {
    delete block_;
  } else if (owner_ != getpid()) {
    // A copy inherited through fork shares the parent's locks: leave them be.
    munmap(block_, kSegmentSize);
    close(fd_);
  } else {
    LockByte(fd_, kGuardByte, F_WRLCK, true);
    LockByte(fd_, kHolderByte, F_UNLCK, false);
    if (LockByte(fd_, kHolderByte, F_WRLCK, false) == 0) {
      // Last holder. The name still points at this segment: only a holder of
      // the guard byte unlinks, and only while the link count is not zero.
      struct stat st {};
      if (fstat(fd_, &st) == 0 && st.st_nlink > 0) shm_unlink(segment_.c_str());
    }
    munmap(block_, kSegmentSize);
    close(fd_);  // drops both byte locks
  }
  block_ = nullptr;
  fd_ = -1;
  name_.clear();
  segment_.clear();
}

}  // namespace platform
