// The Paths page: the two directories and the refusal of one too long for its field.
#include "configapp/PathPage.h"

#include "configapp/ControlIds.h"
#include "configapp/SetdeskStrings.h"
#include "platform/Text.h"

namespace configapp {
namespace {

bool Fits(std::string_view text) {
  return text.size() < palmsettings::kTextFieldSize;
}

}  // namespace

void CPathPage::OnInitDialog() {
  controls_.desktopPath = platform::FieldText(record_.DesktopPath);
  controls_.zeppDir = platform::FieldText(record_.ZEPPDir);
}

std::string CPathPage::Text(uint32_t control) const {
  switch (control) {
    case kIdPathsGroup:
      return SetdeskText(record_, kIdsPathsGroup);
    case kIdDesktopLabel:
      return SetdeskText(record_, kIdsPalmDesktopLabel);
    case kIdZeppLabel:
      return SetdeskText(record_, kIdsZeppLabel);
    default:
      return {};
  }
}

uint32_t CPathPage::CheckLengths() {
  uint32_t tooLong = 0;
  if (!Fits(controls_.desktopPath)) {
    tooLong = kIdDesktopPath;
  } else if (!Fits(controls_.zeppDir)) {
    tooLong = kIdZeppDir;
  }
  if (tooLong != 0)
    prompt_.Show(kDirectoryTooLongText, SetdeskText(record_, kIdsCaption),
                 platform::MB_OK | platform::MB_ICONERROR);
  return tooLong;
}

void CPathPage::OnDestroy() {
  if (Fits(controls_.desktopPath))
    platform::CopyToField(record_.DesktopPath, controls_.desktopPath);
  if (Fits(controls_.zeppDir)) platform::CopyToField(record_.ZEPPDir, controls_.zeppDir);
}

}  // namespace configapp
