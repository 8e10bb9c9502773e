// Open files over host descriptors, with Windows dispositions and share modes.
#include "platform/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/Errors.h"
#include "platform/HostFiles.h"

namespace platform {

namespace {
uint32_t Done(uint32_t code) {
  SetLastError(code);
  return code;
}

int OpenHost(const std::string& path, int flags, mode_t mode) {
  int fd;
  do fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
  while (fd < 0 && errno == EINTR);
  return fd;
}
}  // namespace

File::File(File&& other) noexcept
    : fd_(other.fd_), access_(other.access_), kind_(other.kind_), hidden_(other.hidden_) {
  other.fd_ = -1;
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    access_ = other.access_;
    kind_ = other.kind_;
    hidden_ = other.hidden_;
    other.fd_ = -1;
  }
  return *this;
}

File::~File() {
  Close();
}

uint32_t File::Open(const FilePath& path, uint32_t access, uint32_t share, Disposition disposition,
                    uint32_t attributes) {
  Close();
  if (!path.ok()) return Done(path.error);
  const auto d = static_cast<uint32_t>(disposition);
  const bool wantRead = (access & GENERIC_READ) != 0;
  const bool wantWrite = (access & GENERIC_WRITE) != 0;
  if (d < 1 || d > 5) return Done(ERROR_INVALID_PARAMETER);
  if (disposition == Disposition::TruncateExisting && !wantWrite)
    return Done(ERROR_INVALID_PARAMETER);
  if (path.IsMountPoint()) return Done(ERROR_ACCESS_DENIED);
  const bool empties =
      disposition == Disposition::CreateAlways || disposition == Disposition::TruncateExisting;

  HostStatus st;
  const uint32_t statRc = HostStat(path.host, st);
  if (statRc == ERROR_SUCCESS) {
    if (st.isFolder) return Done(ERROR_ACCESS_DENIED);
    if (disposition == Disposition::CreateNew) return Done(ERROR_FILE_EXISTS);
    if ((wantWrite || empties) && (path.IsReadOnlyVolume() || !st.ownerWritable))
      return Done(ERROR_ACCESS_DENIED);
  } else if (statRc == ERROR_FILE_NOT_FOUND) {
    if (disposition == Disposition::OpenExisting || disposition == Disposition::TruncateExisting)
      return Done(ERROR_FILE_NOT_FOUND);
    if (path.IsReadOnlyVolume()) return Done(ERROR_ACCESS_DENIED);
  } else {
    return Done(statRc);
  }

  int flags = wantWrite ? (wantRead ? O_RDWR : O_WRONLY) : O_RDONLY;
  const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
  bool existed = statRc == ERROR_SUCCESS;
  int fd = -1;
  switch (disposition) {
    case Disposition::CreateNew:
      fd = OpenHost(path.host, flags | O_CREAT | O_EXCL, mode);
      if (fd < 0) return Done(errno == EEXIST ? ERROR_FILE_EXISTS : Win32FromErrno(errno));
      existed = false;
      break;
    case Disposition::OpenExisting:
    case Disposition::TruncateExisting:
      fd = OpenHost(path.host, flags, 0);
      if (fd < 0) return Done(Win32FromErrno(errno));
      break;
    case Disposition::CreateAlways:
    case Disposition::OpenAlways:
      // Create first so that "did it exist" is decided by the host in one
      // step; a file removed between the two tries is created on the next.
      for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
        fd = OpenHost(path.host, flags | O_CREAT | O_EXCL, mode);
        existed = false;
        if (fd >= 0 || errno != EEXIST) break;
        fd = OpenHost(path.host, flags, 0);
        existed = true;
        if (fd < 0 && errno != ENOENT) break;
      }
      if (fd < 0) return Done(Win32FromErrno(errno));
      break;
  }

  HostStatus opened;
  if (HostStatOpen(fd, opened) == ERROR_SUCCESS && opened.isFolder) {
    ::close(fd);
    return Done(ERROR_ACCESS_DENIED);
  }
  // The lock comes before emptying, so that a file another open holds
  // exclusively is never cut.
  if (const uint32_t rc = HostLock(fd, share == 0 ? LockMode::Exclusive : LockMode::Shared);
      rc != ERROR_SUCCESS) {
    ::close(fd);
    return Done(rc);
  }
  if (existed && empties) {
    const int cut = wantWrite ? ::ftruncate(fd, 0) : ::truncate(path.host.c_str(), 0);
    if (cut != 0) {
      const uint32_t rc = Win32FromErrno(errno);
      ::close(fd);
      return Done(rc);
    }
  }
  fd_ = fd;
  access_ = access;
  kind_ = path.kind;
  const size_t slash = path.host.find_last_of('/');
  hidden_ = path.host.size() > slash + 1 && path.host[slash + 1] == '.';
  const bool reportExisting = existed && (disposition == Disposition::CreateAlways ||
                                          disposition == Disposition::OpenAlways);
  SetLastError(reportExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return ERROR_SUCCESS;
}

uint32_t File::Read(std::span<uint8_t> buffer, size_t& bytesRead) {
  bytesRead = 0;
  if (fd_ < 0) return Done(ERROR_INVALID_HANDLE);
  if (!(access_ & GENERIC_READ)) return Done(ERROR_ACCESS_DENIED);
  while (bytesRead < buffer.size()) {
    const ssize_t r = ::read(fd_, buffer.data() + bytesRead, buffer.size() - bytesRead);
    if (r < 0) {
      if (errno == EINTR) continue;
      return Done(Win32FromErrno(errno));
    }
    if (r == 0) break;
    bytesRead += static_cast<size_t>(r);
  }
  return Done(ERROR_SUCCESS);
}

uint32_t File::Write(std::span<const uint8_t> data, size_t& bytesWritten) {
  bytesWritten = 0;
  if (fd_ < 0) return Done(ERROR_INVALID_HANDLE);
  if (!(access_ & GENERIC_WRITE)) return Done(ERROR_ACCESS_DENIED);
  while (bytesWritten < data.size()) {
    const ssize_t w = ::write(fd_, data.data() + bytesWritten, data.size() - bytesWritten);
    if (w < 0) {
      if (errno == EINTR) continue;
      return Done(Win32FromErrno(errno));
    }
    bytesWritten += static_cast<size_t>(w);
  }
  return Done(ERROR_SUCCESS);
}

uint32_t File::Seek(int64_t distance, SeekOrigin origin, uint64_t* position) {
  if (fd_ < 0) return Done(ERROR_INVALID_HANDLE);
  int64_t base = 0;
  if (origin == SeekOrigin::Current) {
    base = ::lseek(fd_, 0, SEEK_CUR);
  } else if (origin == SeekOrigin::End) {
    struct stat st {};
    base = ::fstat(fd_, &st) == 0 ? st.st_size : -1;
  } else if (origin != SeekOrigin::Begin) {
    return Done(ERROR_INVALID_PARAMETER);
  }
  if (base < 0) return Done(Win32FromErrno(errno));
  if (distance < 0 && base + distance < 0) return Done(ERROR_NEGATIVE_SEEK);
  if (distance > 0 && base > INT64_MAX - distance) return Done(ERROR_INVALID_PARAMETER);
  const off_t target = ::lseek(fd_, base + distance, SEEK_SET);
  if (target < 0) return Done(Win32FromErrno(errno));
  if (position) *position = static_cast<uint64_t>(target);
  return Done(ERROR_SUCCESS);
}

uint32_t File::Size(uint64_t& size) {
  if (fd_ < 0) return Done(ERROR_INVALID_HANDLE);
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return Done(Win32FromErrno(errno));
  size = static_cast<uint64_t>(st.st_size);
  return Done(ERROR_SUCCESS);
}

uint32_t File::SetEnd() {
  if (fd_ < 0) return Done(ERROR_INVALID_HANDLE);
  if (!(access_ & GENERIC_WRITE)) return Done(ERROR_ACCESS_DENIED);
  const off_t pos = ::lseek(fd_, 0, SEEK_CUR);
  if (pos < 0 || ::ftruncate(fd_, pos) != 0) return Done(Win32FromErrno(errno));
  return Done(ERROR_SUCCESS);
}

uint32_t File::Flush() {
  if (fd_ < 0) return Done(ERROR_INVALID_HANDLE);
  if (::fsync(fd_) != 0) return Done(Win32FromErrno(errno));
  return Done(ERROR_SUCCESS);
}

uint32_t File::Info(FileInfo& out) {
  if (fd_ < 0) return Done(ERROR_INVALID_HANDLE);
  HostStatus st;
  if (const uint32_t rc = HostStatOpen(fd_, st); rc != ERROR_SUCCESS) return Done(rc);
  out = FileInfoOf(st, hidden_ ? "." : "", kind_);
  return Done(ERROR_SUCCESS);
}

void File::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  access_ = 0;
}

}  // namespace platform
