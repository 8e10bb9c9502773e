// File attribute bits, Windows file times and the facts a listing reports.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

inline constexpr uint32_t FILE_ATTRIBUTE_READONLY = 0x1;
inline constexpr uint32_t FILE_ATTRIBUTE_HIDDEN = 0x2;
inline constexpr uint32_t FILE_ATTRIBUTE_SYSTEM = 0x4;
inline constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;
inline constexpr uint32_t FILE_ATTRIBUTE_INROM = 0x40;
inline constexpr uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr uint32_t FILE_ATTRIBUTE_TEMPORARY = 0x100;
inline constexpr uint32_t FILE_ATTRIBUTE_ROMMODULE = 0x2000;
inline constexpr uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// FileTime: 100-nanosecond intervals since 1601-01-01 UTC, as FILETIME.
using FileTime = uint64_t;

// FileInfo: what GetFileInfo and a listing report about one entry. The
// creation time is the host's birth time where the file system records one,
// else the last write time.
struct FileInfo {
  uint32_t attributes = 0;
  uint64_t size = 0;
  FileTime creationTime = 0;
  FileTime lastAccessTime = 0;
  FileTime lastWriteTime = 0;
};

// FindData: one entry of a folder listing; `name` is the entry's real name
// (UTF-8, without any folder).
struct FindData : FileInfo {
  std::string name;
};

// FileTimeFromUnix: the FILETIME of a host time (seconds and nanoseconds
// since 1970).
constexpr FileTime FileTimeFromUnix(int64_t seconds, uint32_t nanoseconds) {
  return static_cast<FileTime>(seconds + 11644473600LL) * 10000000ULL + nanoseconds / 100;
}

// UnixSecondsFromFileTime: the inverse of FileTimeFromUnix, in whole seconds.
constexpr int64_t UnixSecondsFromFileTime(FileTime t) {
  return static_cast<int64_t>(t / 10000000ULL) - 11644473600LL;
}

}  // namespace platform
