// Start and end of the folder program.
#include "folders/ui/FoldersStartup.h"

#include "folders/strings/FoldersStrings.h"
#include "folders/volumes/DriverInstall.h"
#include "folders/volumes/DriverKey.h"
#include "platform/DeviceManager.h"
#include "platform/Module.h"
#include "platform/Registry.h"

namespace folders {

FoldersSession StartFolders() {
  FoldersSession session;
  platform::SetDefaultRegStore(platform::RegStore::Device);
  session.languageResult = LoadFoldersLanguage();
  if (platform::PlatformMajorVersion() >= 4)
    session.driverKeyResult = RegisterDriverKey(kDriverKeyDll, kDriverKeyPath);
  session.driverInstallResult = InstallDriver(platform::ProgramFolder());
  return session;
}

void EndFolders(const FoldersSession& /*session*/) {
  UnloadFoldersLanguage();
}

}  // namespace folders
