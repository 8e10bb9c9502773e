// The folder program's start and end, shared by the window and the command line.
#pragma once

#include <cstdint>

namespace folders {

// FoldersSession: what the start-up set up and the end undoes.
struct FoldersSession {
  uint32_t languageResult = 0;       // LoadFoldersLanguage's result (0: module loaded)
  uint32_t driverKeyResult = 0;      // RegisterDriverKey's result, 0 below version 4
  uint32_t driverInstallResult = 0;  // InstallDriver's result
};

// StartFolders: the device registry as the default store, the language
// module "zsppc_loc.dll", the driver registration key on platform version 4
// and above, and the driver file installed on the device from the program's
// folder (as the device's software install would have). None of these stops
// the start: a mount reports what is missing.
FoldersSession StartFolders();

// EndFolders: unloads the language module. Mounted folders stay mounted.
void EndFolders(const FoldersSession& session);

}  // namespace folders
