// The folder list: one device-registry value per container file.
#pragma once

#include <cstdint>
#include <string_view>

#include "folders/volumes/VolumeRecord.h"

namespace folders {

// kVolumesKey: the list's key below HKEY_CURRENT_USER of the device registry.
inline constexpr char16_t kVolumesKey[] = u"Software\\Quillmark Lab\\Security\\Volumes";
// kVolumesKeyClass: the class string the key is created with.
inline constexpr char16_t kVolumesKeyClass[] = u"REG_BINARY";

// Results of ReadVolumeEntry and FindVolumeEntry.
inline constexpr int kNoEntry = 0;       // no value there, or no list at all
inline constexpr int kEntryValid = 1;    // read, and the container's header is valid
inline constexpr int kEntryMissing = 2;  // read, but the container is missing or invalid

// ReadVolumeEntry: the entry at `index` in enumeration order. Clears the
// record, takes the value name as its path and the 134 value bytes as its
// bytes 548 to 681 (handle and "mount as" name), then reads the container's
// header into it. kNoEntry leaves the record untouched.
int ReadVolumeEntry(VolumeRecord& record, uint32_t index);

// FindVolumeEntry: as ReadVolumeEntry for the entry named `path`, or the
// record's own path when `path` is empty. Names compare as the registry
// compares value names (letter case ignored).
int FindVolumeEntry(VolumeRecord& record, std::u16string_view path = {});

// WriteVolumeEntry: creates or replaces the value named by the record's path
// with its bytes 548 to 681, creating the list key when missing. Returns 0 or
// a Win32 code (87 for a record without a path).
uint32_t WriteVolumeEntry(const VolumeRecord& record);

// DeleteVolumeEntry: removes the entry of that path. Returns 0 or a Win32
// code (2 when there is none).
uint32_t DeleteVolumeEntry(std::u16string_view path);

}  // namespace folders
