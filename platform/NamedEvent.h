// Win32-style events: named ones shared between processes, and unnamed ones.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/SyncObjectHandle.h"

namespace platform {

// Wait results and the endless time-out, numbered as on Windows.
inline constexpr uint32_t INFINITE = 0xFFFFFFFFu;
inline constexpr uint32_t WAIT_OBJECT_0 = 0;
inline constexpr uint32_t WAIT_TIMEOUT = 258;
inline constexpr uint32_t WAIT_FAILED = 0xFFFFFFFFu;

// EventReset: a manual-reset event stays signalled until reset; an automatic
// one releases a single waiter and resets itself.
enum class EventReset { Manual, Automatic };

// EventState: the state of a newly created event.
enum class EventState { Nonsignaled, Signaled };

// Event: one handle to an event. Move-only; Close() or the destructor releases
// the handle. A named event lives while any process holds a handle to it; the
// last handle to close (or the end of the last holding process, however it
// ends) removes it, as on Windows. No process can leave a lock behind: a
// holder killed at any point never blocks the others.
class Event {
 public:
  Event() = default;
  Event(Event&& other) noexcept;
  Event& operator=(Event&& other) noexcept;
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;
  ~Event();

  // Set: signals the event and wakes its waiters. Returns 0, or 6 for an
  // invalid handle (also the thread's last error).
  uint32_t Set();

  // Reset: makes the event non-signalled. Returns 0, or 6 for an invalid handle.
  uint32_t Reset();

  // Wait: waits until the event is signalled or timeoutMs milliseconds have
  // passed (INFINITE: no limit; 0: a test of the state). Returns WAIT_OBJECT_0,
  // WAIT_TIMEOUT, or WAIT_FAILED with the last error set (6 for an invalid
  // handle). A successful wait on an automatic event resets it.
  uint32_t Wait(uint32_t timeoutMs) const;

  // Close: releases this handle; removes the named event when it was the last
  // handle anywhere. Closing while another thread waits on this same handle
  // is not allowed.
  void Close();

  bool valid() const { return handle_.valid(); }
  const std::string& name() const { return handle_.name(); }

 private:
  friend Event CreateEvent(std::string_view, EventReset, EventState);
  friend Event OpenEvent(std::string_view);
  friend Event CreateEvent(EventReset, EventState);

  SyncObjectHandle handle_;
};

// CreateEvent: creates the named event, or opens it when it exists; the name is
// case-sensitive UTF-8 and an empty name creates an unnamed event. On success
// the last error is 0 for a new event and ERROR_ALREADY_EXISTS (183) for an
// existing one, whose type and state are then left as they are. On failure
// the handle is invalid and the last error holds the Win32 code.
Event CreateEvent(std::string_view name, EventReset reset, EventState initial);

// OpenEvent: opens an existing named event; an invalid handle with last error
// ERROR_FILE_NOT_FOUND (2) when no process holds an event of that name.
Event OpenEvent(std::string_view name);

// CreateEvent: a new unnamed event, private to this process.
Event CreateEvent(EventReset reset, EventState initial);

// EventSegmentName: the host shared-memory name behind an event name. It holds
// the user id and a digest of HomeFolder(), so that different users and
// different QM_HOME folders never see each other's events.
std::string EventSegmentName(std::string_view name);

}  // namespace platform
