// The location and folder lists of the "Folder" page, and the location's free space.
#include "folders/dialogs/FolderLocations.h"

#include <algorithm>

#include "platform/DevicePath.h"
#include "platform/FileSystem.h"
#include "platform/FindFile.h"
#include "platform/Text.h"

namespace folders {
namespace {

constexpr uint32_t kCardAttributes =
    platform::FILE_ATTRIBUTE_DIRECTORY | platform::FILE_ATTRIBUTE_TEMPORARY;

template <typename Keep>
std::vector<std::u16string> ListFolders(std::u16string_view folder, Keep keep) {
  std::vector<std::u16string> names;
  std::u16string pattern(folder);
  pattern += u"\\*.*";
  platform::FindFile find;
  platform::FindData data;
  for (uint32_t rc = find.FirstDevice(pattern, data); rc == 0; rc = find.Next(data)) {
    if (keep(data.attributes)) names.push_back(platform::Utf8ToUtf16(data.name));
  }
  return names;
}

}  // namespace

std::vector<std::u16string> StorageCards() {
  return ListFolders(u"", [](uint32_t a) { return (a & kCardAttributes) == kCardAttributes; });
}

std::vector<std::u16string> FolderChoices(std::u16string_view locationPrefix) {
  std::vector<std::u16string> names = ListFolders(
      locationPrefix, [](uint32_t a) { return (a & platform::FILE_ATTRIBUTE_DIRECTORY) != 0; });
  std::sort(names.begin(), names.end(), [](const std::u16string& a, const std::u16string& b) {
    return platform::ToLower(a) < platform::ToLower(b);
  });
  std::vector<std::u16string> choices{u"\\"};
  for (const std::u16string& name : names) choices.push_back(u"\\" + name);
  return choices;
}

std::optional<uint64_t> LocationFreeBytes(std::u16string_view locationPrefix) {
  platform::DiskSpace space;
  const std::u16string where = locationPrefix.empty() ? u"\\" : std::u16string(locationPrefix);
  if (platform::GetDiskFreeSpace(platform::ResolveDevicePath(where), space) != 0)
    return std::nullopt;
  return space.freeToCaller;
}

}  // namespace folders
