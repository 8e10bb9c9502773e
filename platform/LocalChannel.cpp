// Unix-domain stream sockets, an flock-held listener lock and 4-byte framing.
#include "platform/LocalChannel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>

#include "platform/Errors.h"
#include "platform/StopSignal.h"

namespace platform {
namespace {

// SocketAddress: false when the path does not fit into sun_path.
bool SocketAddress(const std::string& path, sockaddr_un& addr) {
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, path.data(), path.size());
  return true;
}

}  // namespace

LocalConnection::LocalConnection(LocalConnection&& other) noexcept
    : fd_(other.fd_), timeoutMs_(other.timeoutMs_) {
  other.fd_ = -1;
}

LocalConnection& LocalConnection::operator=(LocalConnection&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    timeoutMs_ = other.timeoutMs_;
    other.fd_ = -1;
  }
  return *this;
}

LocalConnection::~LocalConnection() {
  Close();
}

void LocalConnection::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

uint32_t LocalConnection::Connect(const std::string& path) {
  Close();
  sockaddr_un addr;
  if (!SocketAddress(path, addr)) return ERROR_FILENAME_EXCED_RANGE;
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return Win32FromErrno(errno);
  if (timeoutMs_ != 0) {
    // Bounds the wait of a connect on a listener whose queue is full.
    timeval tv{};
    tv.tv_sec = timeoutMs_ / 1000;
    tv.tv_usec = static_cast<suseconds_t>(timeoutMs_ % 1000) * 1000;
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
  }
  int rc;
  do {
    rc = connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    const int err = errno;
    close(fd);
    // No socket file and a file nobody listens on both mean: no service.
    if (err == ENOENT || err == ECONNREFUSED) return ERROR_FILE_NOT_FOUND;
    if (err == EAGAIN || err == EWOULDBLOCK || err == ETIMEDOUT) return ERROR_TIMEOUT;
    return Win32FromErrno(err);
  }
  fd_ = fd;
  return 0;
}

void LocalConnection::SetTimeout(uint32_t milliseconds) {
  timeoutMs_ = milliseconds;
}

namespace {

using Clock = std::chrono::steady_clock;

// Deadline: the end of one whole Send or Receive; none for a time-out of 0.
struct Deadline {
  explicit Deadline(uint32_t ms)
      : limited(ms != 0), end(Clock::now() + std::chrono::milliseconds(ms)) {}
  bool limited;
  Clock::time_point end;
};

// WaitReady: waits until the socket can take or give bytes (`events`), the
// peer hung up, or the deadline passed. 0 or ERROR_TIMEOUT.
uint32_t WaitReady(int fd, short events, const Deadline& deadline) {
  for (;;) {
    int ms = -1;
    if (deadline.limited) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline.end - Clock::now());
      if (left.count() <= 0) return ERROR_TIMEOUT;
      ms = left.count() > INT32_MAX ? INT32_MAX : static_cast<int>(left.count());
    }
    pollfd p{fd, events, 0};
    const int n = poll(&p, 1, ms);
    if (n > 0) return 0;  // ready, or an error or hang-up the next call reports
    if (n == 0) return ERROR_TIMEOUT;
    if (errno != EINTR) return Win32FromErrno(errno);
  }
}

uint32_t SendAll(int fd, const uint8_t* data, size_t size, const Deadline& deadline) {
  while (size > 0) {
    // MSG_NOSIGNAL: a peer that has gone is an error code, never SIGPIPE.
    const ssize_t n = send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        if (const uint32_t rc = WaitReady(fd, POLLOUT, deadline)) return rc;
        continue;
      }
      if (errno == EPIPE || errno == ECONNRESET) return ERROR_BROKEN_PIPE;
      return Win32FromErrno(errno);
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return 0;
}

uint32_t ReceiveAll(int fd, uint8_t* data, size_t size, const Deadline& deadline) {
  while (size > 0) {
    const ssize_t n = recv(fd, data, size, MSG_DONTWAIT);
    if (n == 0) return ERROR_BROKEN_PIPE;
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        if (const uint32_t rc = WaitReady(fd, POLLIN, deadline)) return rc;
        continue;
      }
      if (errno == ECONNRESET) return ERROR_BROKEN_PIPE;
      return Win32FromErrno(errno);
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return 0;
}

}  // namespace

uint32_t LocalConnection::Send(std::span<const uint8_t> message) {
  if (fd_ < 0) return ERROR_INVALID_HANDLE;
  if (message.size() > kMaxFrameSize) return ERROR_INVALID_PARAMETER;
  const Deadline deadline(timeoutMs_);
  const uint32_t n = static_cast<uint32_t>(message.size());
  const uint8_t length[4] = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                             static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
  if (const uint32_t rc = SendAll(fd_, length, sizeof length, deadline)) return rc;
  return SendAll(fd_, message.data(), message.size(), deadline);
}

uint32_t LocalConnection::Receive(std::vector<uint8_t>& message, size_t maxSize) {
  message.clear();
  if (fd_ < 0) return ERROR_INVALID_HANDLE;
  const Deadline deadline(timeoutMs_);
  uint8_t length[4];
  if (const uint32_t rc = ReceiveAll(fd_, length, sizeof length, deadline)) return rc;
  const size_t n = length[0] | length[1] << 8 | length[2] << 16 | size_t{length[3]} << 24;
  if (n > maxSize || n > kMaxFrameSize) return ERROR_INVALID_DATA;
  message.resize(n);
  return ReceiveAll(fd_, message.data(), n, deadline);
}

LocalListener::~LocalListener() {
  Close();
}

uint32_t LocalListener::Listen(const std::string& path) {
  Close();
  sockaddr_un addr;
  if (!SocketAddress(path, addr)) return ERROR_FILENAME_EXCED_RANGE;
  const std::string lockPath = path + ".lock";
  const int lockFd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lockFd < 0) return errno == ENOENT ? ERROR_PATH_NOT_FOUND : Win32FromErrno(errno);
  if (flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    close(lockFd);
    return err == EWOULDBLOCK ? ERROR_ALREADY_EXISTS : Win32FromErrno(err);
  }
  // Holding the lock, any socket file present was left by a listener that
  // died without cleaning up. Anything else there is no socket of ours: a
  // mistaken path must not cost a file.
  struct stat existing {};
  if (lstat(path.c_str(), &existing) == 0) {
    if (!S_ISSOCK(existing.st_mode)) {
      close(lockFd);
      return ERROR_FILE_EXISTS;
    }
    unlink(path.c_str());
  }
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
      listen(fd, 16) != 0) {
    const uint32_t code = Win32FromErrno(errno);
    if (fd >= 0) close(fd);
    close(lockFd);
    return code;
  }
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) {
    const uint32_t code = Win32FromErrno(errno);
    close(fd);
    close(lockFd);
    return code;
  }
  fd_ = fd;
  lockFd_ = lockFd;
  path_ = path;
  device_ = st.st_dev;
  inode_ = st.st_ino;
  return 0;
}

bool LocalListener::StillBound() const {
  if (fd_ < 0) return false;
  struct stat st {};
  return stat(path_.c_str(), &st) == 0 && st.st_dev == device_ && st.st_ino == inode_;
}

AcceptResult LocalListener::Accept(LocalConnection& out, int timeoutMs) {
  out.Close();
  if (fd_ < 0) return AcceptResult::Failed;
  for (;;) {
    if (StopSignalled()) return AcceptResult::Stopped;
    pollfd p[2] = {{fd_, POLLIN, 0}, {StopSignalDescriptor(), POLLIN, 0}};
    const int n = poll(p, p[1].fd >= 0 ? 2 : 1, timeoutMs);
    if (n < 0) {
      if (errno == EINTR) continue;
      return AcceptResult::Failed;
    }
    if (n == 0) return AcceptResult::TimedOut;
    if (StopSignalled()) return AcceptResult::Stopped;
    if (!(p[0].revents & POLLIN)) continue;
    const int fd = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      // A client that gave up before being accepted is no reason to stop.
      if (errno == EINTR || errno == ECONNABORTED || errno == EAGAIN) continue;
      return AcceptResult::Failed;
    }
    out.fd_ = fd;
    return AcceptResult::Connection;
  }
}

void LocalListener::Close() {
  if (fd_ >= 0) {
    // A socket file that is no longer ours may be another listener's.
    if (StillBound()) unlink(path_.c_str());
    close(fd_);
  }
  if (lockFd_ >= 0) close(lockFd_);
  fd_ = -1;
  lockFd_ = -1;
  path_.clear();
}

}  // namespace platform
