// InstallFolder: the per-user queue of files waiting to be installed on the handheld at the next
// HotSync.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace palmdesktop {

// Results of QueueInstall besides 0, kInstallAlreadyQueued (-512) and Win32
// codes of the copy (2 for a missing file).
inline constexpr int32_t kInstallBadArgument = -1;
inline constexpr int32_t kInstallNoSuchUser = -2;
inline constexpr int32_t kInstallNoDesktopFolder = -3;

// InstallFolderOf: the user's queue, UserFolder(user) + "\Install" (a desktop
// path); empty when the Palm Desktop folder is not set.
std::string InstallFolderOf(std::string_view user);

// QueueInstall: copies the file at `filePath` (a desktop path) into the
// queue of a known user under its own file name, creating the folders on the
// way. Returns 0; kInstallAlreadyQueued when a file of that name is queued
// for the user already (the queued one stays); kInstallBadArgument for a
// null text or a path without a file name; kInstallNoSuchUser;
// kInstallNoDesktopFolder; or the Win32 code of the copy (a failed copy
// leaves nothing queued).
int32_t QueueInstall(const char* userName, const char* filePath);

// QueuedFiles: the host paths of the files queued for a user, sorted.
std::vector<std::string> QueuedFiles(std::string_view user);

}  // namespace palmdesktop
