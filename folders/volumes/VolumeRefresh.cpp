// The two passes of the list refresh and the rows of the main list.
#include "folders/volumes/VolumeRefresh.h"

#include <algorithm>
#include <cstring>

#include "folders/volumes/CipherNames.h"
#include "folders/volumes/DriverCodes.h"
#include "folders/volumes/Mount.h"
#include "folders/volumes/VolumeList.h"
#include "platform/DeviceManager.h"
#include "platform/File.h"
#include "platform/Text.h"

namespace folders {
namespace {

bool SamePath(const VolumeRecord& a, const VolumeRecord& b) {
  return platform::EqualsIgnoreCase(platform::FieldText(a.path), platform::FieldText(b.path));
}

// ReleaseIfServed: releases a missing container's stale handle, but only
// when a folder device still serves that container under it. After the
// device manager has restarted, a stale number may name another folder's
// device, or another driver's, which must not be unloaded.
void ReleaseIfServed(const VolumeRecord& entry, std::vector<ServedFolder>& served) {
  auto it = std::find_if(served.begin(), served.end(), [&](const ServedFolder& s) {
    return s.record.deviceHandle == entry.deviceHandle && SamePath(s.record, entry);
  });
  if (it == served.end()) return;
  if (ReleaseFolderDevice(entry.deviceHandle)) served.erase(it);
}

}  // namespace

std::vector<ServedFolder> ServedFolders() {
  std::vector<ServedFolder> served;
  for (uint32_t n = 0; n < kMaxMountedFolders; ++n) {
    platform::Device device;
    if (device.Open(FolderDeviceName(n), platform::GENERIC_WRITE, 0,
                    platform::DEVICE_OPEN_SYSTEM) != 0)
      continue;
    ServedFolder folder{n, VolumeRecord{}};
    uint32_t returned = 0;
    std::span<uint8_t> buffer(reinterpret_cast<uint8_t*>(&folder.record), sizeof(VolumeRecord));
    if (device.IoControl(kIoctlGetRecord, buffer, {}, returned) != 0) continue;
    // The driver's answer is text for the list; keep both fields terminated.
    folder.record.path[kPathChars - 1] = u'\0';
    folder.record.mountName[kMountNameChars - 1] = u'\0';
    if (folder.record.path[0] == u'\0') continue;
    served.push_back(folder);
  }
  return served;
}

std::vector<VolumeRow> ReadVolumeRows() {
  std::vector<VolumeRow> rows;
  VolumeRecord record{};
  for (uint32_t i = 0;; ++i) {
    const int result = ReadVolumeEntry(record, i);
    if (result == kNoEntry) break;
    VolumeRow row;
    row.record = record;
    row.path = std::u16string(platform::FieldText(record.path));
    row.sizeKb = record.sizeKb;
    row.cipherName = MainListCipherName(record.algorithm);
    if (result == kEntryMissing || record.sizeKb == 0)
      row.state = VolumeState::Missing;
    else if (record.deviceHandle != 0)
      row.state = VolumeState::Mounted;
    else
      row.state = VolumeState::NotMounted;
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<VolumeRow> RefreshVolumeList() {
  std::vector<ServedFolder> served = ServedFolders();

  // Pass 1: no entry claims a handle any more.
  VolumeRecord record{};
  for (uint32_t i = 0;; ++i) {
    const int result = ReadVolumeEntry(record, i);
    if (result == kNoEntry) break;
    if (record.deviceHandle == 0) continue;  // already as the pass leaves it
    if (result == kEntryMissing) ReleaseIfServed(record, served);
    record.deviceHandle = 0;
    WriteVolumeEntry(record);
  }

  // Pass 2: the handles the devices report are the truth.
  for (const ServedFolder& folder : served) WriteVolumeEntry(folder.record);

  return ReadVolumeRows();
}

}  // namespace folders
