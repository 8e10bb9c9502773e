// The folder list in the device registry.
#include "folders/volumes/VolumeList.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "folders/container/Container.h"
#include "platform/RegKey.h"
#include "platform/Text.h"

namespace folders {
namespace {

using platform::RegKey;

platform::HKEY CurrentUser() {
  return platform::RegRootKey(platform::RegStore::Device, platform::HKEY_CURRENT_USER);
}

uint8_t* ListedBytes(VolumeRecord& record) {
  return reinterpret_cast<uint8_t*>(&record) + kListedOffset;
}

const uint8_t* ListedBytes(const VolumeRecord& record) {
  return reinterpret_cast<const uint8_t*>(&record) + kListedOffset;
}

// Fill: the record from a value's name and data, then its container header.
// The data is taken as stored, short data zero-padded; the "mount as" name is
// kept terminated whatever the store held, since callers read it as text.
int Fill(VolumeRecord& record, std::u16string_view name, const std::vector<uint8_t>& data) {
  record = VolumeRecord{};
  platform::CopyToField(record.path, name);
  // An empty value has no buffer to copy from (memcpy of null is undefined).
  if (!data.empty())
    std::memcpy(ListedBytes(record), data.data(), std::min(data.size(), kListedSize));
  record.mountName[kMountNameChars - 1] = u'\0';
  return ReadContainerHeader(record, platform::FieldText(record.path)) == 1 ? kEntryValid
                                                                            : kEntryMissing;
}

}  // namespace

int ReadVolumeEntry(VolumeRecord& record, uint32_t index) {
  RegKey key;
  if (key.Open(CurrentUser(), kVolumesKey, platform::RegAccess::Read) != 0) return kNoEntry;
  std::string name;
  platform::RegValue value;
  if (key.EnumValue(index, &name, &value) != 0) return kNoEntry;
  return Fill(record, platform::Utf8ToUtf16(name), value.data);
}

int FindVolumeEntry(VolumeRecord& record, std::u16string_view path) {
  const std::u16string name(path.empty() ? platform::FieldText(record.path) : path);
  if (name.empty()) return kNoEntry;
  RegKey key;
  if (key.Open(CurrentUser(), kVolumesKey, platform::RegAccess::Read) != 0) return kNoEntry;
  platform::RegValue value;
  if (key.QueryValue(name, &value) != 0) return kNoEntry;
  return Fill(record, name, value.data);
}

uint32_t WriteVolumeEntry(const VolumeRecord& record) {
  const std::u16string_view name = platform::FieldText(record.path);
  if (name.empty()) return platform::ERROR_INVALID_PARAMETER;
  RegKey key;
  if (uint32_t err =
          key.Create(CurrentUser(), kVolumesKey, platform::RegAccess::All, kVolumesKeyClass))
    return err;
  return key.SetBinary(name, {ListedBytes(record), kListedSize});
}

uint32_t DeleteVolumeEntry(std::u16string_view path) {
  RegKey key;
  if (uint32_t err = key.Open(CurrentUser(), kVolumesKey, platform::RegAccess::All)) return err;
  return key.DeleteValue(path);
}

}  // namespace folders
