// One encrypted folder as the program, the registry list and the driver share it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace folders {

inline constexpr size_t kPathChars = 260;
inline constexpr size_t kMountNameChars = 64;

// VolumeRecord: 684 bytes, little-endian, the same in memory, in the driver
// and (bytes 548 to 681) in the registry list.
struct VolumeRecord {
  uint8_t passwordDigest[16];
  uint16_t algorithm;
  uint16_t reserved1;
  uint32_t sizeKb;  // file size / 1024; 0 when missing or not a container
  uint32_t timeoutSeconds;
  char16_t path[kPathChars];
  uint32_t deviceHandle;  // 0 when not mounted
  uint16_t reserved2;
  char16_t mountName[kMountNameChars];
  uint16_t reserved3;
};
static_assert(sizeof(VolumeRecord) == 684);
static_assert(offsetof(VolumeRecord, algorithm) == 16);
static_assert(offsetof(VolumeRecord, sizeKb) == 20);
static_assert(offsetof(VolumeRecord, timeoutSeconds) == 24);
static_assert(offsetof(VolumeRecord, path) == 28);
static_assert(offsetof(VolumeRecord, deviceHandle) == 548);
static_assert(offsetof(VolumeRecord, mountName) == 554);
static_assert(offsetof(VolumeRecord, reserved3) == 682);

// The part of the record stored as a registry value: bytes 548 to 681.
inline constexpr size_t kListedOffset = offsetof(VolumeRecord, deviceHandle);
inline constexpr size_t kListedSize = 134;
static_assert(kListedOffset + kListedSize == offsetof(VolumeRecord, reserved3));

}  // namespace folders
