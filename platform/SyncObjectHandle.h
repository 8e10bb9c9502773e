// One handle to the state block of an event or semaphore: private to this process, or a named
// shared segment.
//
// Internal to the platform library; the public headers include it only for
// the handle's layout.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

struct SegmentKind;
enum class SegmentDisposition;

// SyncObjectHandle: the block behind one Event or Semaphore handle, with the
// naming rules the two share (events and semaphores live in one name space).
// Move-only; Close() or the destructor lets go of the block: a private block
// is freed, a shared segment stays with its other holders and goes with the
// last one (see SharedSegment). Blocks must be trivially destructible: only
// their memory is released.
class SyncObjectHandle {
 public:
  SyncObjectHandle() = default;
  SyncObjectHandle(SyncObjectHandle&& other) noexcept;  // declaring the moves deletes the copies
  SyncObjectHandle& operator=(SyncObjectHandle&& other) noexcept;
  ~SyncObjectHandle();

  // Create: for an empty name, a new block of `size` bytes private to this
  // process; otherwise the named object, created afresh when no live process
  // holds it (a segment whose holders all died is reinitialised) and opened
  // when one does. `kind.initialise` writes every new block; an existing one
  // keeps its state and must pass `kind.recognise`. Whatever this handle held
  // is closed first. Returns true on success with the last error 0 for a new
  // object and ERROR_ALREADY_EXISTS (183) for an existing one; on failure the
  // handle stays closed and the last error holds the code (123 for a name
  // holding a zero byte, 6 for a name that another kind holds).
  bool Create(std::string_view name, size_t size, const SegmentKind& kind);

  // Open: opens the named object that a live process holds. Returns true
  // with the last error 0; on failure the handle stays closed and the last
  // error is ERROR_FILE_NOT_FOUND (2) when no live process holds the name
  // (a segment left by processes that all died is removed), 123 for an empty
  // name or one holding a zero byte, 6 for a name that another kind holds.
  bool Open(std::string_view name, const SegmentKind& kind);

  // Close: lets go of the block, as described above. Closing while another
  // thread waits on this same handle is not allowed.
  void Close();

  bool valid() const { return block_ != nullptr; }
  const std::string& name() const { return name_; }

  // block: the state block, null when closed.
  template <typename Block>
  Block* block() const {
    return static_cast<Block*>(block_);
  }

 private:
  // OpenNamed: the named part of Create and Open, on a closed handle.
  bool OpenNamed(std::string_view name, SegmentDisposition disposition, const SegmentKind& kind);

  void* block_ = nullptr;
  int fd_ = -1;  // the shared segment of a named object, -1 for a private block
  std::string name_;
  std::string segment_;  // host name, fixed at open even if QM_HOME changes later
  int owner_ = 0;        // the process that opened it
};

}  // namespace platform
