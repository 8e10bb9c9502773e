// What the folder driver receives when a folder is mounted.
#pragma once

#include <cstddef>
#include <cstdint>

#include "folders/volumes/VolumeRecord.h"

namespace folders {

inline constexpr size_t kKeyObjectSize = 1024;
inline constexpr size_t kProfileNameChars = 64;

// MountBlock: 1156 bytes. On the handheld `record` held the address of the
// caller's VolumeRecord. An address cannot cross into the device-manager
// service, so here the driver's information is the block followed by a copy
// of the record, and `record` holds the copy's offset in that information
// (kMountBlockRecordOffset), a position rather than an address.
struct MountBlock {
  uint32_t record;
  uint8_t keyObject[kKeyObjectSize];
  char16_t profileName[kProfileNameChars];
};
static_assert(sizeof(MountBlock) == 1156);
static_assert(offsetof(MountBlock, keyObject) == 4);
static_assert(offsetof(MountBlock, profileName) == 1028);

inline constexpr uint32_t kMountBlockRecordOffset = sizeof(MountBlock);

// MountInformation: the bytes handed to the driver at mount.
struct MountInformation {
  MountBlock block;
  VolumeRecord record;
};
static_assert(sizeof(MountInformation) == sizeof(MountBlock) + sizeof(VolumeRecord));
static_assert(offsetof(MountInformation, record) == kMountBlockRecordOffset);

}  // namespace folders
