// Writing LastUpdate.
#include "update/app/LastUpdate.h"

#include "palmsettings/SettingsLayout.h"
#include "platform/RegKey.h"

namespace update {

void StoreLastUpdate(palmsettings::PalmSettings& record, int64_t now) {
  record.LastUpdate = static_cast<int32_t>(now);
  platform::RegKey key = record.OpenComponentKey();
  if (key.isOpen())
    key.SetDword(palmsettings::kLastUpdateValue, static_cast<uint32_t>(record.LastUpdate));
}

}  // namespace update
