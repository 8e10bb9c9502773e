// Reconciling the folder list with the running folder devices, and the rows it shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "folders/volumes/VolumeRecord.h"

namespace folders {

// VolumeState: how a row of the list shows (numbers as the list's icons).
enum class VolumeState : uint8_t { NotMounted = 1, Mounted = 2, Missing = 3 };

// VolumeRow: one row of the main list, in the registry's enumeration order.
struct VolumeRow {
  VolumeRecord record;        // as read from the entry and its container header
  std::u16string path;        // column "File"
  uint32_t sizeKb = 0;        // column "Size(KB)"
  std::u16string cipherName;  // column "Algorithm": the main-list name
  VolumeState state = VolumeState::Missing;
};

// ServedFolder: a folder device that answered control code 10.
struct ServedFolder {
  uint32_t index = 0;   // the device is FolderDeviceName(index)
  VolumeRecord record;  // the driver's record, its device handle included
};

// ServedFolders: asks VDD0: to VDD9: for the record they serve. Devices that
// do not open or answer are skipped, as are answers without a path.
std::vector<ServedFolder> ServedFolders();

// RefreshVolumeList: first every entry's handle is cleared (an entry whose
// container is missing or invalid also has its device released, when a
// folder device still serves that very container under that handle); then
// every record a folder device serves is written back to the list, which
// re-creates an entry deleted meanwhile. Returns the rows rebuilt from the
// list: missing when the container's size is 0, mounted when the entry holds
// a handle, else not mounted.
std::vector<VolumeRow> RefreshVolumeList();

// ReadVolumeRows: the rows of the list as it stands, without reconciling.
std::vector<VolumeRow> ReadVolumeRows();

}  // namespace folders
