// Read-only mapping of a whole file, with Windows results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <type_traits>

#include "platform/FilePath.h"

namespace platform {

// MappedFile: a whole file mapped read-only; unmapped and closed by Close() or
// the destructor.
class MappedFile {
 public:
  MappedFile() = default;
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  ~MappedFile();

  // Open: maps the file at a host path. Returns 0, or the Win32 code (2, 3, 5,
  // …; 1006 for an empty file, which Windows refuses to map), also stored as
  // the thread's last error. A failure leaves nothing open.
  uint32_t Open(const std::string& hostPath);

  // Open: as above, for a resolved handheld or desktop path; a path that did
  // not resolve gives its resolution error.
  uint32_t Open(const FilePath& path);

  void Close();

  // GuardedRead: runs read(context), which reads this mapping, so that a read
  // past the file's end after another program has cut the file short ends
  // the read instead of the process (on Linux such a read raises SIGBUS).
  // Returns 0 when read ran to its end, ERROR_READ_FAULT (30) when it was cut
  // off, also as the thread's last error. A cut-off read is left by a jump:
  // it must own nothing that needs a destructor.
  uint32_t GuardedRead(void (*read)(void*), void* context) const;

  // Guarded: GuardedRead for a callable, e.g. a lambda with captures.
  template <typename Read>
  uint32_t Guarded(Read&& read) const {
    using R = std::remove_reference_t<Read>;
    return GuardedRead([](void* c) { (*static_cast<R*>(c))(); }, &read);
  }

  std::span<const uint8_t> bytes() const { return {data_, size_}; }
  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }
  bool isOpen() const { return data_ != nullptr; }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace platform
