// Setdesk's own string table.
#include "configapp/SetdeskStrings.h"

#include <vector>

namespace configapp {

namespace {

using platform::DesktopString;

constexpr DesktopString kOwn[] = {
    {kIdsCaption, "Quillmark Anti-Virus for Palm OS"},
    {kIdsCancel, "Cancel"},
    {kIdsConduitGroup, "Conduit settings"},
    {kIdsActionLabel, "Action"},
    {kIdsRateLabel, "Updates rate"},
    {kIdsShowDialog, "Show dialog box"},
    {kIdsSeconds, "seconds"},
    {kIdsGetUpdateNow, "Get update now"},
    {kIdsHintAction, "Action,that will be performed during syncronization"},
    {kIdsHintRate, "Virus base update frequency"},
    {kIdsHintShowDialog, "Show dialog box during syncronization"},
    {kIdsHintSeconds, "Specify diration of holding sync-time dialog. "},
    {kIdsRateDaily, "Daily"},
    {kIdsRateWeekly, "Weekly"},
    {kIdsRateTwoWeeks, "Once in 2 weeks"},
    {kIdsRateMonthly, "Monthly"},
    {kIdsRateTwoMonths, "Once in 2 monthes"},
    {kIdsActionNothing, "Nothing to do"},
    {kIdsActionNow, "Get update and install it now"},
    {kIdsActionLater, "Get update and install it later"},
    {kIdsHintGetUpdateNow, "Get update immediately"},
    {kIdsTitle, "Updater for PalmOS Configuration  v4.0.0.4"},
    {kIdsTabConduit, "Conduit"},
    {kIdsWaitTimeRange, "Wait time must be between 1 and 60 seconds."},
    {kIdsAddressGroup, "Address configuration"},
    {kIdsUp, "Up"},
    {kIdsDown, "Down"},
    {kIdsAdd, "Add"},
    {kIdsDelete, "Delete"},
    {kIdsClearAll, "Clear all"},
    {kIdsHintUp, "Move selected URL up in the list"},
    {kIdsHintDown, "Move selected URL down in the list"},
    {kIdsHintAdd, "Add new URL to the list"},
    {kIdsHintDelete, "Delete selected URL from the list"},
    {kIdsHintClearAll, "Delete all entries in the URLs list"},
    {kIdsHintAddress, "Enter new URL for receiving an update"},
    {kIdsHintAddressList, "This list contains update URLs."},
    {kIdsClearAllQuestion, "Do you really want to delete all addresses?"},
    {kIdsPathsGroup, "Paths"},
    {kIdsPalmDesktopLabel, "Palm Desktop"},
    {kIdsZeppLabel, "ZEP for PalmOS"},
    {kIdsHintDesktopPath, "Path to Palm Desktop directory"},
    {kIdsHintZeppDir, "Path to Quillmark Anti-Virus for PalmOS directory"},
    {kIdsTabUrls, "URLs"},
    {kIdsTabPaths, "Paths"},
};
static_assert(platform::HasUniqueIds(kOwn));

}  // namespace

std::span<const platform::DesktopString> SetdeskStringTable() {
  return kOwn;
}

std::string SetdeskText(const palmsettings::PalmSettings& record, uint32_t id, size_t bufferSize) {
  std::vector<char> buffer(bufferSize + 1, '\0');
  const size_t n = record.LoadText(id, kOwn, buffer.data(), bufferSize);
  return std::string(buffer.data(), n);
}

}  // namespace configapp
