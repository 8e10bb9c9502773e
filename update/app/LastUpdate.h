// Storing the time of the last update run.
#pragma once

#include <cstdint>

#include "palmsettings/PalmSettings.h"

namespace update {

// StoreLastUpdate: sets the record's LastUpdate to `now` (seconds since
// 1970-01-01 UTC, cut to the field's 32 bits) and writes it as a REG_DWORD
// through the component key. A key that does not open, or a failing write,
// leaves the stored value as it was; that is not reported.
void StoreLastUpdate(palmsettings::PalmSettings& record, int64_t now);

}  // namespace update
