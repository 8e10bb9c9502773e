// Sector inspection of a mounted folder through its folder device.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/DeviceManager.h"

namespace folders {

// FindFolderDevice: the index n of the device "VDDn:" whose served record
// holds `handle`, or nullopt when no folder device serves it.
std::optional<uint32_t> FindFolderDevice(platform::DeviceHandle handle);

// ReadFolderSector: the deciphered 512 bytes of data sector `sector` of the
// folder served by device n. Returns 0 or the device's code (2 when the
// device is gone, 27 for a sector beyond the folder); `out` is written only
// on success.
uint32_t ReadFolderSector(uint32_t device, uint32_t sector, std::span<uint8_t, 512> out);

// WriteFolderSector: enciphers and stores 512 bytes as data sector `sector`.
// Returns 0 or the device's code as above.
uint32_t WriteFolderSector(uint32_t device, uint32_t sector, std::span<const uint8_t, 512> data);

// FolderSectorCount: the number of data sectors of the folder served by
// device n. Returns 0 or the device's code.
uint32_t FolderSectorCount(uint32_t device, uint32_t& count);

}  // namespace folders
