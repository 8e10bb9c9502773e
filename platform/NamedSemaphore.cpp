// Semaphores in POSIX shared memory, counted in one atomic word that waiters sleep on.
//
// A POSIX named semaphore (sem_open) would outlive a process killed while
// holding it and cannot tell how many handles are open, so it could not end
// with its last holder as a Windows semaphore does. The segments here follow
// the named events instead: every handle holds a shared OFD lock on byte 1,
// so the kernel counts the live holders and forgets one that dies; creating,
// opening and closing are serialised by an exclusive lock on byte 0; the last
// handle to close unlinks the name, and a segment whose holders all died is
// reinitialised by the next create or removed by the next open. Waiting takes
// no lock that a process could die holding.
#include "platform/NamedSemaphore.h"

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
#include <new>

#include "platform/Errors.h"

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

namespace {

constexpr uint32_t kMagic = 0x4553'4D51;  // "QMSE"
constexpr uint32_t kVersion = 1;
constexpr size_t kSegmentSize = 4096;
constexpr off_t kGuardByte = 0;            // exclusive while creating, opening or closing
constexpr off_t kHolderByte = 1;           // shared by every open handle
constexpr uint32_t kRetry = 0xFFFF'FFFEu;  // the name was unlinked under us

// LockByte: 0 or an errno value.
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

int Futex(std::atomic<int32_t>* word, int op, int32_t value, const timespec* deadline) {
  return static_cast<int>(syscall(SYS_futex, reinterpret_cast<int32_t*>(word), op, value, deadline,
                                  nullptr, FUTEX_BITSET_MATCH_ANY));
}

void InitBlock(SemaphoreBlock* b, int32_t initial, int32_t maximum) {
  new (b) SemaphoreBlock{};
  b->version = kVersion;
  b->maximum = maximum;
  b->count.store(initial);
  b->magic.store(kMagic, std::memory_order_release);
}

enum class Disposition { CreateOrOpen, OpenOnly };

// OpenSegment: one attempt; 0 with fd and block set, kRetry, or a Win32 code.
uint32_t OpenSegment(const std::string& segment, Disposition disposition, int32_t initial,
                     int32_t maximum, int& fdOut, SemaphoreBlock*& blockOut, bool& created) {
  const int flags = O_RDWR | O_CLOEXEC | (disposition == Disposition::CreateOrOpen ? O_CREAT : 0);
  const int fd = shm_open(segment.c_str(), flags, 0600);
  if (fd < 0) return Win32FromErrno(errno);
  auto fail = [&](uint32_t code) {
    close(fd);  // drops the byte locks with the description
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
  auto* block = static_cast<SemaphoreBlock*>(p);
  if (!live) {
    InitBlock(block, initial, maximum);
  } else if (block->magic.load(std::memory_order_acquire) != kMagic || block->version != kVersion) {
    munmap(p, kSegmentSize);
    return fail(ERROR_INVALID_HANDLE);  // the name belongs to an event or something else
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
  for (;;) {
    bool created = false;
    const uint32_t r =
        OpenSegment(segment, Disposition::CreateOrOpen, initial, maximum, s.fd_, s.block_, created);
    if (r == kRetry) continue;
    if (r != ERROR_SUCCESS) return Failed(r);
    s.name_ = std::string(name);
    s.segment_ = segment;
    s.owner_ = getpid();
    SetLastError(created ? ERROR_SUCCESS : ERROR_ALREADY_EXISTS);
    return s;
  }
}

Semaphore OpenSemaphore(std::string_view name) {
  if (name.empty() || name.find('\0') != std::string_view::npos) return Failed(ERROR_INVALID_NAME);
  const std::string segment = EventSegmentName(name);
  for (;;) {
    Semaphore s;
    bool created = false;
    const uint32_t r = OpenSegment(segment, Disposition::OpenOnly, 0, 1, s.fd_, s.block_, created);
    if (r == kRetry) continue;
    if (r != ERROR_SUCCESS) return Failed(r);
    s.name_ = std::string(name);
    s.segment_ = segment;
    s.owner_ = getpid();
    SetLastError(ERROR_SUCCESS);
    return s;
  }
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
  Futex(&b->count, FUTEX_WAKE, count, nullptr);
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
    if (take()) return WAIT_OBJECT_0;
    if (timeoutMs == 0) return WAIT_TIMEOUT;
    // Sleeps only while the count is still zero; a release in between makes
    // the call return at once. The absolute CLOCK_MONOTONIC deadline keeps
    // early wake-ups and clock changes from stretching the time-out.
    const int r =
        Futex(&b->count, FUTEX_WAIT_BITSET, 0, timeoutMs == INFINITE ? nullptr : &deadline);
    const int err = r == 0 ? 0 : errno;
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
  } else if (owner_ != getpid()) {
    // A copy inherited through fork shares the parent's locks: leave them be.
    munmap(block_, kSegmentSize);
    close(fd_);
  } else {
    LockByte(fd_, kGuardByte, F_WRLCK, true);
    LockByte(fd_, kHolderByte, F_UNLCK, false);
    if (LockByte(fd_, kHolderByte, F_WRLCK, false) == 0) {
      // Last holder: only a holder of the guard byte unlinks, and only while
      // the name still points at this segment.
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
