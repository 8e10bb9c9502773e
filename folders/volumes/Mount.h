// Mounting and unmounting a folder through the folder driver.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "folders/volumes/VolumeRecord.h"
#include "platform/DeviceManager.h"
#include "platform/Prompt.h"

namespace folders {

// Mount results besides 0 and the cipher library's -1 and -2.
inline constexpr int kMountInvalidPassword = -4;
inline constexpr int kMountNoDriver = -6;        // the driver file is missing
inline constexpr int kMountTooManyFolders = -7;  // every device name is taken
inline constexpr int kMountDriverFailed = -8;    // reported by the registration's own box
inline constexpr int kMountNoFileSystem = -9;    // the new device refused its handle

inline constexpr uint32_t kMaxMountedFolders = 10;

// kMountErrorCaption: the caption of the registration error box.
inline constexpr char kMountErrorCaption[] = "Mount Volume";
// kNoFileSystemText: the fixed text of result -9.
inline constexpr char kNoFileSystemText[] = "Unable to load file system (fatfs.dll)";

// FolderDeviceName: "VDD" + index + ":".
std::u16string FolderDeviceName(uint32_t index);

// MountErrorBoxText: the registration error box's text for a last-error
// code, or nullopt for the codes that show no box (87, 110, 2404).
std::optional<std::string> MountErrorBoxText(uint32_t error);

// TryMountVolume: mounts the record's container under its "mount as" name.
// Checks the password first (-4 before anything is loaded), builds the key
// object, and hands the driver the mount information, by activation from the
// driver key on platform version 4 and above, by registration on VDD0: to
// VDD9: below. Registration errors show their box on `prompt`; the result
// itself is not reported (see ReportMountResult). On 0, *handle and the
// record's device handle hold the new handle; otherwise both are untouched.
int TryMountVolume(VolumeRecord& record, std::u16string_view password, platform::Prompt& prompt,
                   platform::DeviceHandle* handle);

// ReportMountResult: shows a mount result's message under "Quillmark Coffer"
// with the error icon; nothing for 0 and -8.
void ReportMountResult(int result, platform::Prompt& prompt);

// MountVolume: TryMountVolume followed by ReportMountResult. Returns the
// device handle, or 0 when the mount failed (already reported).
platform::DeviceHandle MountVolume(VolumeRecord& record, std::u16string_view password,
                                   platform::Prompt& prompt);

// ReleaseFolderDevice: releases a device handle the way this platform version
// obtains it (deactivation from version 4, deregistration below). True when
// the device manager released it.
bool ReleaseFolderDevice(platform::DeviceHandle handle);

// UnmountVolume: releases the device handle the list entry of `path` holds.
// Returns 1 when one was found and released, 0 when there is no entry, its
// handle is 0 or the device manager did not know the handle. The entry keeps
// its handle until the next RefreshVolumeList.
int UnmountVolume(std::u16string_view path);

}  // namespace folders
