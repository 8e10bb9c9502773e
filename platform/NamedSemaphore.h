// Win32-style semaphores: a count between zero and a maximum, named ones shared between processes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/NamedEvent.h"
#include "platform/SyncObjectHandle.h"

namespace platform {

// ERROR_TOO_MANY_POSTS: a release that would lift the count above the maximum.
inline constexpr uint32_t ERROR_TOO_MANY_POSTS = 298;

// Semaphore: one handle to a semaphore. Move-only; Close() or the destructor
// releases the handle. Named semaphores share their names with named events,
// as kernel objects do on Windows: a name that an event holds cannot be
// created or opened as a semaphore (ERROR_INVALID_HANDLE, 6), and the other
// way round. A named semaphore lives while any process holds a handle to it;
// the last handle to close (or the end of the last holding process, however
// it ends) removes it.
class Semaphore {
 public:
  Semaphore() = default;
  Semaphore(Semaphore&& other) noexcept;
  Semaphore& operator=(Semaphore&& other) noexcept;
  Semaphore(const Semaphore&) = delete;
  Semaphore& operator=(const Semaphore&) = delete;
  ~Semaphore();

  // Release: adds `count` to the semaphore's count and wakes waiters.
  // Returns 0 and stores the count before the release in *previous (when
  // given); ERROR_TOO_MANY_POSTS (298) when the maximum would be passed (the
  // count is unchanged); 87 for a count below 1; 6 for an invalid handle.
  // The code is also the thread's last error.
  uint32_t Release(int32_t count = 1, int32_t* previous = nullptr);

  // Wait: waits until the count is above zero and takes one from it, or
  // until timeoutMs milliseconds have passed (INFINITE: no limit; 0: a
  // test). Returns WAIT_OBJECT_0, WAIT_TIMEOUT, or WAIT_FAILED with the last
  // error set (6 for an invalid handle).
  uint32_t Wait(uint32_t timeoutMs) const;

  // Close: releases this handle; removes the named semaphore when it was the
  // last handle anywhere. Closing while another thread waits on this same
  // handle is not allowed.
  void Close();

  bool valid() const { return handle_.valid(); }
  const std::string& name() const { return handle_.name(); }

 private:
  friend Semaphore CreateSemaphore(std::string_view, int32_t, int32_t);
  friend Semaphore OpenSemaphore(std::string_view);

  SyncObjectHandle handle_;
};

// CreateSemaphore: creates the named semaphore with the initial count and
// the maximum, or opens it when it exists; an empty name creates an unnamed
// semaphore. On success the last error is 0 for a new semaphore and
// ERROR_ALREADY_EXISTS (183) for an existing one, whose count and maximum are
// then left as they are. On failure the handle is invalid and the last error
// holds the Win32 code: 87 when the maximum is below 1 or the initial count
// lies outside 0 to the maximum, 123 for a name holding a zero byte, 6 when
// the name belongs to an event.
Semaphore CreateSemaphore(std::string_view name, int32_t initial, int32_t maximum);

// OpenSemaphore: opens an existing named semaphore; an invalid handle with
// last error ERROR_FILE_NOT_FOUND (2) when no process holds one of that name.
Semaphore OpenSemaphore(std::string_view name);

}  // namespace platform
