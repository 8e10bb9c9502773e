// The hint tables of the three pages.
#include "configapp/HintLine.h"

#include "configapp/ControlIds.h"
#include "configapp/SetdeskStrings.h"

namespace configapp {
namespace {

constexpr HintEntry kConduitHints[] = {
    {kIdAction, kIdsHintAction},
    {kIdRate, kIdsHintRate},
    {kIdShowDialog, kIdsHintShowDialog},
    {kIdSeconds, kIdsHintSeconds},
    {kIdGetUpdateNow, kIdsHintGetUpdateNow},
};

constexpr HintEntry kUrlHints[] = {
    {kIdAddress, kIdsHintAddress},
    {kIdAddressList, kIdsHintAddressList},
    {kIdUp, kIdsHintUp},
    {kIdDown, kIdsHintDown},
    {kIdAdd, kIdsHintAdd},
    {kIdDelete, kIdsHintDelete},
    {kIdClearAll, kIdsHintClearAll},
};

constexpr HintEntry kPathHints[] = {
    {kIdZeppDir, kIdsHintZeppDir},
    {kIdDesktopPath, kIdsHintDesktopPath},
};

}  // namespace

std::span<const HintEntry> PageHints(SetdeskPage page) {
  switch (page) {
    case SetdeskPage::Conduit:
      return kConduitHints;
    case SetdeskPage::Urls:
      return kUrlHints;
    case SetdeskPage::Paths:
      return kPathHints;
  }
  return {};
}

std::optional<uint32_t> HintString(SetdeskPage page, uint32_t control) {
  for (const HintEntry& entry : PageHints(page))
    if (entry.control == control) return entry.string;
  return std::nullopt;
}

size_t HintBufferSize(SetdeskPage page) {
  return page == SetdeskPage::Paths ? kShortTextBuffer : kTextBuffer;
}

bool HintLine::OnSetCursor(uint32_t control) {
  const std::optional<uint32_t> string = HintString(page_, control);
  if (!string) return false;
  text_ = SetdeskText(record_, *string, HintBufferSize(page_));
  return true;
}

}  // namespace configapp
