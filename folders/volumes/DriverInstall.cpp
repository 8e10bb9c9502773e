// Copying the folder driver into the device's "\Windows" folder.
#include "folders/volumes/DriverInstall.h"

#include "platform/DevicePath.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Module.h"

namespace folders {

uint32_t InstallDriver(const std::string& fromFolder) {
  const std::string file = platform::ModuleFileName("Secvol.dll");
  const std::string devicePath = "\\Windows\\" + file;
  if (platform::GetFileAttributes(platform::ResolveDevicePath(devicePath)) !=
      platform::INVALID_FILE_ATTRIBUTES)
    return 0;
  const platform::FilePath source = platform::HostFilePath(fromFolder + "/" + file);
  if (platform::GetFileAttributes(source) == platform::INVALID_FILE_ATTRIBUTES)
    return platform::ERROR_FILE_NOT_FOUND;
  const platform::FilePath windows = platform::ResolveDevicePath("\\Windows");
  if (platform::GetFileAttributes(windows) == platform::INVALID_FILE_ATTRIBUTES) {
    if (uint32_t err = platform::CreateDirectory(windows)) return err;
  }
  return platform::CopyFile(source, platform::ResolveDevicePath(devicePath),
                            platform::IfExists::Fail);
}

}  // namespace folders
