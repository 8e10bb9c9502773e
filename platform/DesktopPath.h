// Desktop paths ("C:\Program Files\x", relative names) resolved to host paths.
#pragma once

#include <string>
#include <string_view>

#include "platform/FilePath.h"

namespace platform {

// DriveFolder: the host folder of a drive letter: C is
// StatePath("QM_DRIVE_C", "drive_c"); any other letter only when the variable
// QM_DRIVE_<LETTER> is set. "" when the drive is not configured.
std::string DriveFolder(char letter);

// ResolveDesktopPath: the host location of a desktop path. "X:\…" (or "X:…",
// taken from the drive's root, as there is no per-drive current folder) lies
// in the drive's host folder and ".." stops at the drive's root; a path
// starting with one separator lies on the drive of the current folder, which
// is the host's own tree ("\tmp\x" is "/tmp/x"); any other path is relative to
// the host's current folder. Both "\" and "/" separate components, and each is
// matched exactly first and regardless of case when no exact match exists.
// Errors in the result: ERROR_PATH_NOT_FOUND (3) for an unconfigured drive, a
// network path ("\\server\share") or a missing folder on the way,
// ERROR_INVALID_NAME (123) for a component holding a wildcard or a character
// Windows forbids.
FilePath ResolveDesktopPath(std::string_view path);

}  // namespace platform
