// The time-out controls' units, preselection and checks.
#include "folders/dialogs/TimeoutSetting.h"

#include "folders/dialogs/DialogMessage.h"
#include "folders/strings/FoldersStrings.h"

namespace folders {

const char16_t* TimeoutUnitName(TimeoutUnit unit) {
  switch (unit) {
    case TimeoutUnit::Minutes:
      return u"Minutes";
    case TimeoutUnit::Hours:
      return u"Hours";
    default:
      return u"Seconds";
  }
}

TimeoutSetting TimeoutFromSeconds(uint32_t seconds) {
  TimeoutSetting setting;
  if (seconds == 0) return setting;
  setting.box = TimeoutBox::Ticked;
  for (TimeoutUnit unit : {TimeoutUnit::Hours, TimeoutUnit::Minutes, TimeoutUnit::Seconds}) {
    if (seconds % TimeoutFactor(unit) == 0) {
      setting.unit = unit;
      setting.value = seconds / TimeoutFactor(unit);
      break;
    }
  }
  return setting;
}

bool CheckTimeout(const TimeoutSetting& setting, platform::Prompt& prompt) {
  if (setting.box != TimeoutBox::Ticked) return true;
  const uint32_t flags = platform::MB_OK | platform::MB_ICONEXCLAMATION;
  if (setting.value == 0) {
    ShowFoldersString(prompt, kIdsTimeoutZero, flags);
    return false;
  }
  if (setting.value > kTimeoutMaximum) {
    ShowFoldersString(prompt, kIdsTimeoutTooLarge, flags);
    return false;
  }
  return true;
}

}  // namespace folders
