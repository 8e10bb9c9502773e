// Sector reads and writes through the folder driver's inspection codes.
#include "folders/volumes/SectorAccess.h"

#include <array>
#include <cstring>

#include "folders/volumes/DriverCodes.h"
#include "folders/volumes/Mount.h"
#include "folders/volumes/VolumeRefresh.h"
#include "platform/Errors.h"
#include "platform/File.h"

namespace folders {
namespace {

uint32_t OpenFolderDevice(uint32_t device, platform::Device& out) {
  return out.Open(FolderDeviceName(device), platform::GENERIC_READ | platform::GENERIC_WRITE, 0,
                  platform::DEVICE_OPEN_SYSTEM);
}

}  // namespace

std::optional<uint32_t> FindFolderDevice(platform::DeviceHandle handle) {
  if (handle == 0) return std::nullopt;
  for (const ServedFolder& folder : ServedFolders())
    if (folder.record.deviceHandle == handle) return folder.index;
  return std::nullopt;
}

uint32_t ReadFolderSector(uint32_t device, uint32_t sector, std::span<uint8_t, 512> out) {
  platform::Device d;
  if (uint32_t err = OpenFolderDevice(device, d)) return err;
  uint8_t input[4];
  std::memcpy(input, &sector, sizeof(sector));
  std::array<uint8_t, 512> buffer{};
  uint32_t returned = 0;
  if (uint32_t err = d.IoControl(kIoctlReadSector, input, buffer, returned)) return err;
  if (returned != buffer.size()) return platform::ERROR_READ_FAULT;
  std::memcpy(out.data(), buffer.data(), buffer.size());
  return 0;
}

uint32_t WriteFolderSector(uint32_t device, uint32_t sector, std::span<const uint8_t, 512> data) {
  platform::Device d;
  if (uint32_t err = OpenFolderDevice(device, d)) return err;
  std::array<uint8_t, 4 + 512> input{};
  std::memcpy(input.data(), &sector, sizeof(sector));
  std::memcpy(input.data() + 4, data.data(), data.size());
  uint32_t returned = 0;
  return d.IoControl(kIoctlWriteSector, input, {}, returned);
}

uint32_t FolderSectorCount(uint32_t device, uint32_t& count) {
  platform::Device d;
  if (uint32_t err = OpenFolderDevice(device, d)) return err;
  uint8_t output[4] = {};
  uint32_t returned = 0;
  if (uint32_t err = d.IoControl(kIoctlSectorCount, {}, output, returned)) return err;
  if (returned != sizeof(output)) return platform::ERROR_READ_FAULT;
  std::memcpy(&count, output, sizeof(count));
  return 0;
}

}  // namespace folders
