// The string table of QrxCfgObject: the captions of the settings tree.
#pragma once

#include <span>

#include "platform/StringTable.h"

namespace qrx {

// PageStrings: ids 30002-30013, read through the page record's LoadText so
// that the language library can replace them.
std::span<const platform::DeviceString> PageStrings();

}  // namespace qrx
