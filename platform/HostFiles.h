// Thin wrappers over the host calls the file layer makes, each returning a Win32 code.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/FileAttributes.h"
#include "platform/FilePath.h"

namespace platform {

// HostStatus: the facts of one host entry (symbolic links followed).
struct HostStatus {
  bool isFolder = false;
  bool ownerWritable = true;
  uint64_t size = 0;
  uint64_t device = 0;
  uint32_t mode = 0;
  FileTime creationTime = 0;
  FileTime lastAccessTime = 0;
  FileTime lastWriteTime = 0;
};

// HostStat: 0 with `out` filled, or the Win32 code of the failure (2 for a
// missing entry, 3 when a folder on the way is missing or not a folder).
uint32_t HostStat(const std::string& path, HostStatus& out);

// HostStatAt: as HostStat, for `name` inside the folder open as `folderFd`.
uint32_t HostStatAt(int folderFd, const char* name, HostStatus& out);

// HostStatOpen: as HostStat, for an open descriptor.
uint32_t HostStatOpen(int fd, HostStatus& out);

// HostListFolder: calls `visit` with every entry name of a folder in the
// host's order, "." and ".." left out; `visit` returns false to stop. Returns
// 0 or the Win32 code of the failure to open the folder.
uint32_t HostListFolder(const std::string& path,
                        const std::function<bool(std::string_view name)>& visit);

// AttributesOf: the Windows attributes of a host entry whose real name is
// `name`: directory, read-only (no owner write), hidden (leading dot), and
// normal when none of them applies. Mount attributes are added by callers.
uint32_t AttributesOf(const HostStatus& st, std::string_view name);

// AttributesOf: as above, with what a location of `kind` adds: the temporary
// attribute for a card's folder, in-ROM and read-only below a ROM mount.
uint32_t AttributesOf(const HostStatus& st, std::string_view name, PathKind kind);

// FileInfoOf: attributes (for a location of `kind`), size and times of a host
// entry.
FileInfo FileInfoOf(const HostStatus& st, std::string_view name, PathKind kind);

// LockMode: how an open file is held against other opens of this suite,
// standing in for Windows share modes (advisory locks; see File).
enum class LockMode : uint8_t { Shared, Exclusive };

// HostLock: takes the lock on an open descriptor without waiting. Returns 0,
// or ERROR_SHARING_VIOLATION (32) when another open holds a conflicting lock.
uint32_t HostLock(int fd, LockMode mode);

// ProbeUnused: 0 when no open of this suite holds the file at `path` (or it
// cannot be opened to tell), else ERROR_SHARING_VIOLATION (32). Deleting or
// moving a file that is open fails this way on Windows.
uint32_t ProbeUnused(const std::string& path);

}  // namespace platform
