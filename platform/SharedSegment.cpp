// Named shared-memory segments held by byte locks, and the futex calls their waiters sleep in.
//
// Lifetime: every handle holds a shared OFD lock on byte 1 of its segment, so
// the kernel counts the live holders and forgets a holder that dies. Creating,
// opening and closing are serialised by an exclusive lock on byte 0, which is
// never held across anything that can block for long, so no process can die
// holding a lock that blocks the others. The last handle to close unlinks the
// name; a segment whose holders all died is found holder-less by the next
// create (which reinitialises it) or open (which removes it and reports it
// missing). A handle that opened the name just before it was unlinked sees a
// link count of 0 and retries, so it never ends up on an orphan.
#include "platform/SharedSegment.h"

#include <fcntl.h>
#include <linux/futex.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Errors.h"

namespace platform {
namespace {

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

int Futex(const void* word, int op, uint32_t value, const timespec* deadline) {
  return static_cast<int>(syscall(SYS_futex, const_cast<void*>(word), op, value, deadline, nullptr,
                                  FUTEX_BITSET_MATCH_ANY));
}

// OpenOnce: one attempt; 0 with `out` set, kRetry, or a Win32 code.
uint32_t OpenOnce(const std::string& segment, SegmentDisposition disposition,
                  const SegmentKind& kind, SegmentHold& out) {
  const bool mayCreate = disposition == SegmentDisposition::CreateOrOpen;
  const int fd = shm_open(segment.c_str(), O_RDWR | O_CLOEXEC | (mayCreate ? O_CREAT : 0), 0600);
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
  if (!live && !mayCreate) {
    shm_unlink(segment.c_str());  // left by processes that all ended
    return fail(ERROR_FILE_NOT_FOUND);
  }
  if (!live && ftruncate(fd, kSharedSegmentSize) != 0) return fail(Win32FromErrno(errno));
  if (live && st.st_size < static_cast<off_t>(kSharedSegmentSize))
    return fail(ERROR_INVALID_HANDLE);
  void* p = mmap(nullptr, kSharedSegmentSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (p == MAP_FAILED) return fail(Win32FromErrno(errno));
  if (!live) {
    kind.initialise(p);
  } else if (!kind.recognise(p)) {
    munmap(p, kSharedSegmentSize);
    return fail(ERROR_INVALID_HANDLE);  // the name belongs to another kind or something else
  }
  // Turns our exclusive probe (when fresh) into a shared hold, or joins the others.
  if (int e = LockByte(fd, kHolderByte, F_RDLCK, false)) {
    munmap(p, kSharedSegmentSize);
    return fail(Win32FromErrno(e));
  }
  LockByte(fd, kGuardByte, F_UNLCK, false);
  out.fd = fd;
  out.block = p;
  out.created = !live;
  out.owner = getpid();
  return ERROR_SUCCESS;
}

}  // namespace

uint32_t OpenSharedSegment(const std::string& segment, SegmentDisposition disposition,
                           const SegmentKind& kind, SegmentHold& out) {
  for (;;) {
    const uint32_t r = OpenOnce(segment, disposition, kind, out);
    if (r != kRetry) return r;
  }
}

void CloseSharedSegment(int fd, void* block, const std::string& segment, int owner) {
  if (owner == getpid()) {
    LockByte(fd, kGuardByte, F_WRLCK, true);
    LockByte(fd, kHolderByte, F_UNLCK, false);
    if (LockByte(fd, kHolderByte, F_WRLCK, false) == 0) {
      // Last holder. The name still points at this segment: only a holder of
      // the guard byte unlinks, and only while the link count is not zero.
      struct stat st {};
      if (fstat(fd, &st) == 0 && st.st_nlink > 0) shm_unlink(segment.c_str());
    }
  }
  // A copy inherited through fork shares the parent's locks: it only lets go
  // of its mapping and descriptor. Closing drops any byte locks we hold.
  munmap(block, kSharedSegmentSize);
  close(fd);
}

std::timespec MonotonicDeadline(uint32_t timeoutMs) {
  timespec deadline{};
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  deadline.tv_sec += timeoutMs / 1000;
  deadline.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1'000'000L;
  if (deadline.tv_nsec >= 1'000'000'000L) {
    deadline.tv_sec += 1;
    deadline.tv_nsec -= 1'000'000'000L;
  }
  return deadline;
}

int FutexWaitWord(const void* word, uint32_t expected, const std::timespec* deadline) {
  // The bitset form takes an absolute CLOCK_MONOTONIC deadline, so clock
  // changes and early wake-ups never stretch or shorten a time-out.
  return Futex(word, FUTEX_WAIT_BITSET, expected, deadline) == 0 ? 0 : errno;
}

void FutexWakeWord(void* word, int count) {
  Futex(word, FUTEX_WAKE, static_cast<uint32_t>(count), nullptr);
}

}  // namespace platform
