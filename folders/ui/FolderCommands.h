// The folder program's commands that need no window of their own: Open and Delete.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "folders/ui/FoldersFrontEnd.h"
#include "folders/volumes/VolumeRefresh.h"
#include "platform/Prompt.h"

namespace folders {

// kOutsideDeviceText: "Open..." on a host file that is not on the handheld.
inline constexpr char kOutsideDeviceText[] =
    "This file is not on the handheld.\nOnly a file on the handheld can be an encrypted folder.";
// kPathTooLongText: a path that does not fit a folder record.
inline constexpr char kPathTooLongText[] = "The path is too long.";

// FolderBaseName: the file name of a handheld path without folder and extension.
std::u16string FolderBaseName(std::u16string_view path);

// DevicePathArgument: a handheld path as typed: "/" become a backslash and a
// leading backslash is added when missing.
std::u16string DevicePathArgument(std::u16string_view text);

// IsDeviceFile: true when the handheld path names an existing file.
bool IsDeviceFile(std::u16string_view path);

// ShowFoldersMessage: a numbered text under "Quillmark Coffer" with `flags`.
int ShowFoldersMessage(platform::Prompt& prompt, uint32_t id, uint32_t flags);

// OpenResult: how "Open..." ended.
enum class OpenResult {
  Mounted,        // listed, and the mount dialog mounted it
  Listed,         // listed; the mount dialog was cancelled
  AlreadyListed,  // message 72; nothing changed
  NotAContainer,  // message 61; nothing changed
  Refused,        // outside the handheld, a path too long or an entry not written (shown)
};

// RefreshList: what a command calls after it changed the list.
using RefreshList = std::function<void()>;

// OpenDeviceContainer: "Open..." for a handheld path: 72 when it is listed,
// 61 when it is not a container, else its entry is written ("mount as" name =
// base name), the list refreshed, the mount dialog shown and, after a mount,
// the list refreshed again.
OpenResult OpenDeviceContainer(std::u16string_view path, FoldersFrontEnd& frontEnd,
                               platform::Prompt& prompt, const RefreshList& refresh);

// OpenHostFile: "Open..." for the host file the file dialog chose; a file
// outside the handheld's root and cards is refused with kOutsideDeviceText.
OpenResult OpenHostFile(std::string_view hostPath, FoldersFrontEnd& frontEnd,
                        platform::Prompt& prompt, const RefreshList& refresh);

// DeleteResult: how "Delete" ended.
enum class DeleteResult { Deleted, Declined, Mounted, Failed };

// DeleteFolder: asks 62 + path + "'?" (Yes/No); Yes deletes the container
// file and removes the entry. A mounted folder is refused without asking. A
// file that cannot be deleted (other than already gone) is reported with the
// platform's text and keeps its entry, so the list does not lose a file
// that still exists.
DeleteResult DeleteFolder(const VolumeRow& row, platform::Prompt& prompt);

}  // namespace folders
