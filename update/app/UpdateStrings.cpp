// The downloader's own string table.
#include "update/app/UpdateStrings.h"

#include <vector>

namespace update {

namespace {

using platform::DesktopString;

constexpr DesktopString kOwn[] = {
    {kIdsCaption, "Quillmark AV for PalmOS - Get Update"},
    {kIdsCancel, "Cancel"},
    {kIdsIncomplete,
     "Not all of update files were succesfuly received.\nCheck your \"LastUpdate\\Download\" "
     "folder."},
    {kIdsIncompleteCaption, "Error!"},
    {kIdsNoAddress, "No update path is specified!"},
};
static_assert(platform::HasUniqueIds(kOwn));

}  // namespace

std::span<const platform::DesktopString> UpdateStringTable() {
  return kOwn;
}

std::string UpdateText(const palmsettings::PalmSettings& record, uint32_t id, size_t bufferSize) {
  std::vector<char> buffer(bufferSize + 1, '\0');
  const size_t n = record.LoadText(id, kOwn, buffer.data(), bufferSize);
  return std::string(buffer.data(), n);
}

}  // namespace update
