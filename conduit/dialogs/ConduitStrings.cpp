// The conduit's own string table.
#include "conduit/dialogs/ConduitStrings.h"

#include <vector>

namespace conduit {

namespace {

using platform::DesktopString;

constexpr DesktopString kOwn[] = {
    {kIdsConduitName, "Quillmark Anti-Virus for PalmOS"},
    {kIdsCancel, "Cancel"},
    {kIdsIncomplete,
     "Not all of update files were succesfuly received.\nCheck your \"LastUpdate\\Download\" "
     "folder."},
    {kIdsErrorCaption, "Error!"},
    {kIdsNoAddress, "No update path is specified!"},
    {kIdsBaseGroup, "Quillmark Anti-Virus for Palm OS"},
    {kIdsKnownViruses, "Known viruses :"},
    {kIdsLastUpdate, "Last update :"},
    {kIdsGetUpdate, "Get update : "},
    {kIdsNow, "Now"},
    {kIdsOnSchedule, "On schedule"},
    {kIdsDefaultAction, "Default HotSync Action"},
    {kIdsNextAction, "Next HotSync Action"},
    {kIdsUpdateAction, "Update Quillmark AV for PalmOS"},
    {kIdsDoNothing, "Do Nothing"},
    {kIdsSetAsDefault, "Set as default"},
    {kIdsUpdaterCaption, "Quillmark Anti-Virus for PalmOS Updater"},
    {kIdsCurrentSettings, "'s Current Settings:"},
};
static_assert(platform::HasUniqueIds(kOwn));

}  // namespace

std::span<const platform::DesktopString> ConduitStringTable() {
  return kOwn;
}

std::string ConduitText(const palmsettings::PalmSettings& record, uint32_t id, size_t bufferSize) {
  std::vector<char> buffer(bufferSize + 1, '\0');
  const size_t n = record.LoadText(id, kOwn, buffer.data(), bufferSize);
  return std::string(buffer.data(), n);
}

std::string ConduitTextOr(const palmsettings::PalmSettings& record, uint32_t id,
                          std::string_view otherwise) {
  std::string text = ConduitText(record, id);
  if (text.empty()) text = otherwise;
  return text;
}

}  // namespace conduit
