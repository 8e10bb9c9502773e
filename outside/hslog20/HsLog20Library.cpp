// Loading "HsLog20.dll" and binding its exports by name.
#include "outside/hslog20/HsLog20Library.h"

#include "platform/Errors.h"

namespace hslog20 {

uint32_t HsLog20Library::Load(const std::vector<std::string>& extraDirs) {
  Unload();
  if (const uint32_t rc = module_.Load("HsLog20.dll", extraDirs); rc != 0) return rc;
  LogAddEntry = module_.Function<LogAddEntryFn>("LogAddEntry");
  LogPath = module_.Function<QmLogPathFn>("QmLogPath");
  if (LogAddEntry == nullptr || LogPath == nullptr) {
    Unload();
    platform::SetLastError(platform::ERROR_PROC_NOT_FOUND);
    return platform::ERROR_PROC_NOT_FOUND;
  }
  return 0;
}

void HsLog20Library::Unload() {
  LogAddEntry = nullptr;
  LogPath = nullptr;
  module_.Unload();
}

}  // namespace hslog20
