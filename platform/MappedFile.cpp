// mmap-backed read-only file mapping.
#include "platform/MappedFile.h"

#include <fcntl.h>
#include <setjmp.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>

#include "platform/Errors.h"

namespace platform {
namespace {

// ReadGuard: the mapping a thread is reading under GuardedRead, and where to
// go when a read of it faults.
struct ReadGuard {
  sigjmp_buf jump;
  const uint8_t* begin = nullptr;
  const uint8_t* end = nullptr;  // the mapping's last page included
  volatile sig_atomic_t active = 0;
};

thread_local ReadGuard tGuard;
struct sigaction gPreviousBusHandler {};

void OnBusError(int signal, siginfo_t* info, void* context) {
  ReadGuard& guard = tGuard;
  const auto* address = static_cast<const uint8_t*>(info->si_addr);
  if (guard.active && address >= guard.begin && address < guard.end) {
    guard.active = 0;
    siglongjmp(guard.jump, 1);
  }
  // Not a guarded read: whoever handled SIGBUS before us, or the default end.
  if ((gPreviousBusHandler.sa_flags & SA_SIGINFO) && gPreviousBusHandler.sa_sigaction) {
    gPreviousBusHandler.sa_sigaction(signal, info, context);
    return;
  }
  if (gPreviousBusHandler.sa_handler != SIG_DFL && gPreviousBusHandler.sa_handler != SIG_IGN) {
    gPreviousBusHandler.sa_handler(signal);
    return;
  }
  ::signal(SIGBUS, SIG_DFL);
  ::raise(SIGBUS);
}

void InstallBusHandler() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &gPreviousBusHandler);
  });
}

}  // namespace

MappedFile::MappedFile(MappedFile&& other) noexcept : data_(other.data_), size_(other.size_) {
  other.data_ = nullptr;
  other.size_ = 0;
}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    Close();
    data_ = other.data_;
    size_ = other.size_;
    other.data_ = nullptr;
    other.size_ = 0;
  }
  return *this;
}

MappedFile::~MappedFile() {
  Close();
}

uint32_t MappedFile::Open(const std::string& hostPath) {
  Close();
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return SetLastErrorFromErrno();
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const uint32_t code = SetLastErrorFromErrno();
    ::close(fd);
    return code;
  }
  if (S_ISDIR(st.st_mode)) {
    ::close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return ERROR_ACCESS_DENIED;
  }
  if (st.st_size == 0) {
    ::close(fd);
    SetLastError(ERROR_FILE_INVALID);
    return ERROR_FILE_INVALID;
  }
  void* p = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  if (p == MAP_FAILED) {
    const uint32_t code = SetLastErrorFromErrno();
    ::close(fd);
    return code;
  }
  ::close(fd);  // the mapping keeps the file's contents reachable
  data_ = static_cast<const uint8_t*>(p);
  size_ = static_cast<size_t>(st.st_size);
  SetLastError(ERROR_SUCCESS);
  return ERROR_SUCCESS;
}

uint32_t MappedFile::Open(const FilePath& path) {
  if (!path.ok()) {
    Close();
    SetLastError(path.error);
    return path.error;
  }
  return Open(path.host);
}

uint32_t MappedFile::GuardedRead(void (*read)(void*), void* context) const {
  InstallBusHandler();
  ReadGuard& guard = tGuard;
  const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  guard.begin = data_;
  guard.end = data_ + (size_ + page - 1) / page * page;
  if (sigsetjmp(guard.jump, 1) != 0) {
    SetLastError(ERROR_READ_FAULT);
    return ERROR_READ_FAULT;
  }
  guard.active = 1;
  read(context);
  guard.active = 0;
  SetLastError(ERROR_SUCCESS);
  return ERROR_SUCCESS;
}

void MappedFile::Close() {
  if (data_) ::munmap(const_cast<uint8_t*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
}

}  // namespace platform
