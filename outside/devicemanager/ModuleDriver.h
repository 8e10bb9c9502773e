// Drivers loaded from shared objects in the handheld's "\Windows" folder.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "outside/devicemanager/DeviceDriver.h"

namespace devicemanager {

// LoadModuleDriver: the DriverLoader of the service. Looks up "\Windows\"
// plus the file name ("X.dll" is the file "X.so", letter case ignored) on the
// device and binds the five exports named by the prefix (DriverInterface.h).
// Returns 0; 87 for an empty name or one with a folder part; 2 when the file
// is missing; 126 or 193 when it does not load; 127 when an export is
// missing (the module is released again).
uint32_t LoadModuleDriver(std::u16string_view dllName, std::u16string_view prefix,
                          std::unique_ptr<DeviceDriver>& out);

}  // namespace devicemanager
