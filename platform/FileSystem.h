// File and folder operations with Windows results: attributes, copy, move, delete, folders, space.
#pragma once

#include <cstdint>

#include "platform/FileAttributes.h"
#include "platform/FilePath.h"

namespace platform {

// IfExists: what copy and move do when the target already exists.
enum class IfExists : uint8_t { Fail, Replace };

// Every function here stores its result as the thread's last error, 0
// included, and reports the resolution error of a FilePath that has one.
// Nothing may be created, changed or removed in ROM or on the root, a card's
// or a ROM folder itself (ERROR_ACCESS_DENIED, 5). A read-only file or folder
// (no owner write permission) is refused for writing, replacing and removing
// with 5 as on Windows, also for a process whose host rights would allow it.

// GetFileAttributes: the attributes of an existing entry (directory 0x10,
// read-only 0x1, hidden 0x2 for a leading dot, temporary 0x100 on a card's
// folder, in-ROM 0x40 below a ROM mount, normal 0x80 when none applies), or
// INVALID_FILE_ATTRIBUTES with the last error 2 or 3.
uint32_t GetFileAttributes(const FilePath& path);

// SetFileAttributes: makes an entry read-only (0x1 set: every write
// permission removed) or writable (0x1 clear: owner write given). Other bits
// have no host form and are ignored. Returns 0 or the code.
uint32_t SetFileAttributes(const FilePath& path, uint32_t attributes);

// GetFileInfo: attributes, size and times of an existing entry. Returns 0 or
// the code; `out` is unchanged on failure.
uint32_t GetFileInfo(const FilePath& path, FileInfo& out);

// CopyFile: copies a file's contents, permissions and last write time. The
// copy is written beside the target under a temporary hidden name and renamed
// into place, so a failure never leaves a partial target and a replaced
// target keeps its old contents until the copy is complete. Returns 0, 2 for
// a missing source, ERROR_FILE_EXISTS (80) when the target exists and
// `ifExists` is Fail, 5 for a folder at either end or a read-only target,
// ERROR_SHARING_VIOLATION (32) when either file is held by an open of this
// suite that does not share it (or source and target are the same file).
uint32_t CopyFile(const FilePath& from, const FilePath& to, IfExists ifExists);

// MoveFile: renames a file or folder. An existing target gives
// ERROR_ALREADY_EXISTS (183) with `ifExists` Fail; with Replace a file
// target is replaced (a folder target, or a folder replacing anything, gives
// 5). Across host file systems a file is copied and its source deleted (the
// source stays when the copy or the delete fails; a failed delete removes the
// copy); a folder gives ERROR_NOT_SAME_DEVICE (17). A change of letter case
// only ("a.txt" → "A.TXT") renames the entry. Returns 0 or the code.
uint32_t MoveFile(const FilePath& from, const FilePath& to, IfExists ifExists);

// DeleteFile: removes a file. Returns 0, 2 when missing, 5 for a folder or a
// read-only file, 32 while an open of this suite holds the file.
uint32_t DeleteFile(const FilePath& path);

// CreateDirectory: creates one folder. Returns 0, ERROR_ALREADY_EXISTS (183)
// when any entry of that name exists, 3 when its parent is missing.
uint32_t CreateDirectory(const FilePath& path);

// RemoveDirectory: removes an empty folder. Returns 0, 2 when missing,
// ERROR_DIRECTORY (267) for a file, ERROR_DIR_NOT_EMPTY (145).
uint32_t RemoveDirectory(const FilePath& path);

// DiskSpace: bytes of the volume holding a path.
struct DiskSpace {
  uint64_t freeToCaller = 0;
  uint64_t total = 0;
  uint64_t totalFree = 0;
};

// GetDiskFreeSpace: the space of the host volume that holds an existing path
// (ROM has no free space). Returns 0 or the code; `out` unchanged on failure.
uint32_t GetDiskFreeSpace(const FilePath& path, DiskSpace& out);

}  // namespace platform
