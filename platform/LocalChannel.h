// Local stream sockets carrying length-framed messages between processes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace platform {

// kMaxFrameSize: the largest message either side accepts.
inline constexpr size_t kMaxFrameSize = size_t{4} << 20;

// LocalConnection: one connected socket. Each message travels as a 4-byte
// little-endian length followed by that many bytes. Move-only; closed by
// Close() or the destructor.
class LocalConnection {
 public:
  LocalConnection() = default;
  LocalConnection(LocalConnection&& other) noexcept;
  LocalConnection& operator=(LocalConnection&& other) noexcept;
  LocalConnection(const LocalConnection&) = delete;
  LocalConnection& operator=(const LocalConnection&) = delete;
  ~LocalConnection();

  // Connect: connects to the socket file at `path`. Returns 0;
  // ERROR_FILE_NOT_FOUND (2) when there is no socket file or nobody listens
  // on it (a file left by a process that died); 206 for a path too long for
  // a socket; else the host's code (a listener whose queue stays full longer
  // than the time-out gives 1460). A failure leaves the object closed.
  uint32_t Connect(const std::string& path);

  // SetTimeout: the longest one whole Send or Receive (and a Connect that
  // waits for room in the listener's queue) may take, in milliseconds (0: no
  // limit). A peer that trickles bytes does not extend it. Kept across
  // Connect and Close.
  void SetTimeout(uint32_t milliseconds);

  // Send: writes one message. Returns 0, ERROR_BROKEN_PIPE (109) when the
  // peer has gone, 87 for a message above kMaxFrameSize, 1460 on time-out.
  uint32_t Send(std::span<const uint8_t> message);

  // Receive: reads one message into `message` (replacing its content).
  // Returns 0; 109 when the peer closed the connection (also in the middle
  // of a message); 13 when the announced length exceeds maxSize (nothing
  // more is read: the connection is then unusable); 1460 on time-out.
  uint32_t Receive(std::vector<uint8_t>& message, size_t maxSize = kMaxFrameSize);

  void Close();
  bool isOpen() const { return fd_ >= 0; }

 private:
  friend class LocalListener;
  int fd_ = -1;
  uint32_t timeoutMs_ = 0;
};

// AcceptResult: why LocalListener::Accept returned.
enum class AcceptResult { Connection, TimedOut, Stopped, Failed };

// LocalListener: the listening side. One listener per socket path: the
// listener holds the lock file path + ".lock" for as long as it listens, so
// a second one is refused, and a socket file left by a listener that died
// (its lock went with it) is replaced.
class LocalListener {
 public:
  LocalListener() = default;
  LocalListener(const LocalListener&) = delete;
  LocalListener& operator=(const LocalListener&) = delete;
  ~LocalListener();

  // Listen: creates the socket file at `path` and listens. The folder must
  // exist: a listener started late for a folder that is gone meanwhile must
  // not bring it back. Returns 0; ERROR_ALREADY_EXISTS (183) when another
  // listener holds the path; 80 when something other than a socket is there
  // (it is left alone); 3 when the folder is missing; 206 for a path too long
  // for a socket; else the host's code. A failure leaves nothing created but
  // the lock file.
  uint32_t Listen(const std::string& path);

  // Accept: waits up to timeoutMs (-1: no limit) for the next connection.
  // Returns Stopped as soon as a stop signal (StopSignal.h) has arrived,
  // TimedOut when the time passed, Failed on a host error.
  AcceptResult Accept(LocalConnection& out, int timeoutMs = -1);

  // StillBound: whether the socket file at the path is still this
  // listener's; false once it was removed or replaced, when nobody can reach
  // this listener any more.
  bool StillBound() const;

  // Close: stops listening and removes the socket file when it is still this
  // listener's; the lock file stays (removing it would let two listeners
  // lock two different files).
  void Close();

 private:
  int fd_ = -1;
  int lockFd_ = -1;
  std::string path_;
  uint64_t device_ = 0;  // identity of the socket file made by Listen
  uint64_t inode_ = 0;
};

}  // namespace platform
