// An open file with Windows open dispositions, share modes and results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/FileAttributes.h"
#include "platform/FilePath.h"

namespace platform {

inline constexpr uint32_t GENERIC_READ = 0x80000000;
inline constexpr uint32_t GENERIC_WRITE = 0x40000000;
inline constexpr uint32_t FILE_SHARE_READ = 0x1;
inline constexpr uint32_t FILE_SHARE_WRITE = 0x2;

// Disposition: what an open does with an existing or missing file; the
// values are the Windows ones.
enum class Disposition : uint32_t {
  CreateNew = 1,         // CREATE_NEW: fails with ERROR_FILE_EXISTS (80) when it exists
  CreateAlways = 2,      // CREATE_ALWAYS: creates, or empties an existing file
  OpenExisting = 3,      // OPEN_EXISTING: fails with 2 when it is missing
  OpenAlways = 4,        // OPEN_ALWAYS: opens, or creates a missing file
  TruncateExisting = 5,  // TRUNCATE_EXISTING: empties an existing file; needs GENERIC_WRITE
};

// SeekOrigin: FILE_BEGIN, FILE_CURRENT, FILE_END.
enum class SeekOrigin : uint32_t { Begin = 0, Current = 1, End = 2 };

// File: one open file, closed by Close() or the destructor. Every call stores
// its result as the thread's last error.
//
// Share modes are kept among the opens of this suite (in this and other
// processes) with advisory host locks: an open that shares nothing (share 0)
// excludes every other open of the file and fails with
// ERROR_SHARING_VIOLATION (32) while another is open; opens that share
// something only exclude those that share nothing. Other programs of the host
// are not held off. A mapping (MappedFile) takes no part.
class File {
 public:
  File() = default;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File();

  // Open: opens `path` with GENERIC_READ and/or GENERIC_WRITE access, a share
  // mode and a disposition; a created file gets `attributes` (only read-only
  // has a host form: the file is created without write permission, this
  // handle still writes). Returns 0; when CreateAlways or OpenAlways found
  // the file already there, the last error is ERROR_ALREADY_EXISTS (183) as
  // on Windows, else 0. Failures: 2 (missing), 3 (folder on the way
  // missing), 5 (a folder, a read-only file opened for writing, anything in
  // ROM opened for writing), 80 (CreateNew on an existing file), 87 (no
  // access, or TruncateExisting without GENERIC_WRITE), 32 (sharing). A
  // failure leaves the object closed and nothing created or emptied.
  uint32_t Open(const FilePath& path, uint32_t access, uint32_t share, Disposition disposition,
                uint32_t attributes = FILE_ATTRIBUTE_NORMAL);

  // Read: reads up to buffer.size() bytes at the file position into buffer,
  // stores the count in `bytesRead` (0 at the end of the file, which is not a
  // failure) and advances. Returns 0, 5 without read access, 6 when closed.
  uint32_t Read(std::span<uint8_t> buffer, size_t& bytesRead);

  // Write: writes all of `data` at the file position (extending the file),
  // stores the count in `bytesWritten`. Returns 0, 5 without write access,
  // 112 when the disk is full (bytesWritten tells what was written).
  uint32_t Write(std::span<const uint8_t> data, size_t& bytesWritten);

  // Seek: moves the file position and stores the new one in `position` when
  // given; a position past the end is allowed. Returns 0, or
  // ERROR_NEGATIVE_SEEK (131) for a position before the start (unchanged).
  uint32_t Seek(int64_t distance, SeekOrigin origin, uint64_t* position = nullptr);

  // Size: the file's size in bytes. Returns 0 or the code.
  uint32_t Size(uint64_t& size);

  // SetEnd: makes the file end at the current position (cutting or
  // extending it with zeros). Returns 0, or 5 without write access.
  uint32_t SetEnd();

  // Flush: writes the file's data through to the disk. Returns 0 or the code.
  uint32_t Flush();

  // Info: attributes, size and times of the open file.
  uint32_t Info(FileInfo& out);

  // Close: closes the file (and releases its share lock); harmless when
  // closed.
  void Close();

  bool isOpen() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
  uint32_t access_ = 0;
  PathKind kind_ = PathKind::Plain;
  bool hidden_ = false;
};

}  // namespace platform
