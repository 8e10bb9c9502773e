// Installing the folder driver on the device, as the device's software install would.
#pragma once

#include <cstdint>
#include <string>

namespace folders {

// InstallDriver: when "\Windows\Secvol.dll" does not resolve on the device,
// copies the driver file from `fromFolder` (a host folder, normally the
// program folder) into the device's "\Windows" folder, creating that folder.
// Returns 0 when the driver is there afterwards, else the Win32 code (2 when
// `fromFolder` has no driver either); the mount then reports the missing
// driver itself.
uint32_t InstallDriver(const std::string& fromFolder);

}  // namespace folders
