// Read-only mapping of a whole file, with Windows results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

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

  std::span<const uint8_t> bytes() const { return {data_, size_}; }
  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }
  bool isOpen() const { return data_ != nullptr; }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace platform
