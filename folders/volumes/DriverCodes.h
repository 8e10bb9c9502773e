// Control codes of the folder driver's devices ("VDD0:" to "VDD9:").
#pragma once

#include <cstdint>

namespace folders {

// Input: the 4-byte device handle the registration returned; the driver
// remembers it as its own.
inline constexpr uint32_t kIoctlSetHandle = 4;
// Input: a 684-byte VolumeRecord buffer that the driver fills with the record
// of the folder it serves, its device handle included.
inline constexpr uint32_t kIoctlGetRecord = 10;
// Sector access for inspection tools. Read: input the 4-byte sector number,
// output 512 bytes of plaintext. Write: input the 4-byte sector number
// followed by 512 bytes of plaintext. Count: output the 4-byte sector count.
inline constexpr uint32_t kIoctlReadSector = 0x101;
inline constexpr uint32_t kIoctlWriteSector = 0x102;
inline constexpr uint32_t kIoctlSectorCount = 0x103;

}  // namespace folders
